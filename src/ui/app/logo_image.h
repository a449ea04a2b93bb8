#pragma once
// The logo pictures (Temp0.cue on the main window, Temp1.cue on the splash)
// decoded from their bitmap bytes (app/logo_file.h). The files come from
// the program folder and may be damaged: a bitmap whose pixel data is
// shorter than its header claims is refused, and an indexed picture gets a
// full colour table (black past the file's own), so that no pixel names a
// colour the table lacks when it is scaled or drawn.
#include <QImage>
#include <string>

namespace quenlet {

// The picture, or a null image when the bytes are no bitmap Qt reads or are
// cut short.
QImage DecodeLogoBitmap(const std::string& bitmap);

}  // namespace quenlet
