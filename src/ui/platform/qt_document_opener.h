#pragma once
// Documents open in the desktop's viewer for their type, never through a
// shell and never run as programs.
#include "platform/document_opener.h"

namespace quenlet {

class QtDocumentOpener : public DocumentOpener {
 public:
  bool Open(const std::string& path) override;
};

}  // namespace quenlet
