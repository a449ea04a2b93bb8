// Quenlet: host program of the USB device programmer.
#include <cstdio>

int main() {
  std::puts(
      "Quenlet: the program has no main window yet; its parts are built and tested by 'make "
      "test'.");
  return 0;
}
