#pragma once
// Text from device files as the operator reads it: the files hold Windows
// ANSI bytes, some of them Traditional Chinese (Big5). Bytes that are valid
// UTF-8 are shown as UTF-8, others as Big5, and Latin-1 when neither fits.
#include <QString>
#include <string>

namespace quenlet {

QString DeviceText(const std::string& bytes);

}  // namespace quenlet
