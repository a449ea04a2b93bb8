#include "programmer/identification.h"

#include "programmer/protocol.h"

namespace quenlet {

void IdentifyProgrammer(ProgrammerLink& link) {
  link.transport.CloseProgrammer();
  link.transport.OpenProgrammer(kProgrammerProductId);
  HardwareInfoReply reply;
  if (!ReadHardwareInfo(link.transport, reply)) return;
  if (!reply.IsProgrammerModel()) {
    link.messages.Show("Please connect Quenlet unit");
    link.state.WrongProgrammer = 1;
    link.window.Close();
    return;
  }
  link.state.ProgrammerIdentified = 1;
  link.ProgrammerInfoWord = reply.StateWord();
}

}  // namespace quenlet
