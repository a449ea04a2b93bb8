#pragma once
// printf-style formatting into std::string, so the program's fixed texts keep
// their exact printf formats ("%07lX", "%d", ...).
#include <cstdarg>
#include <string>

namespace quenlet {

std::string strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string vstrprintf(const char* format, va_list args);

}  // namespace quenlet
