#pragma once
// Text from device and settings files for the screen: UTF-8 when it is valid
// UTF-8, else Big5 (device names and self-test texts of the older device
// library are stored in Big5), else Latin-1 (platform/text_decode.h).
#include <QString>
#include <string_view>

namespace quenlet {

QString DisplayText(std::string_view bytes);

}  // namespace quenlet
