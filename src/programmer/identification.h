#pragma once
// Identification of the programmer model (request 0x41).
#include "programmer/programmer_link.h"

namespace quenlet {

// Reconnects and asks the unit for its identification. The model string
// accepted: ProgrammerIdentified := 1 and ProgrammerInfoWord := the state
// word. Another model: "Please connect Quenlet unit", WrongProgrammer := 1
// and the main window closes. A failed or short reply sets nothing, so the
// next device load asks again.
void IdentifyProgrammer(ProgrammerLink& link);

}  // namespace quenlet
