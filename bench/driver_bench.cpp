// icotake_driver_bench FILE DIR: one press of the extract button, the same procedure that the
// window runs (100 passes, each reading the edit box afresh), with FILE as the edit box's text and
// DIR as the output folder. With --idle it starts and ends without work: under Wine that is the
// cost of starting a program, which bench/run.py takes off the figures.

#include <cstdio>
#include <string_view>

#include "app/extract_driver.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == "--idle") return 0;
  if (argc != 3) {
    std::fputs("usage: icotake_driver_bench FILE DIR | --idle\n", stderr);
    return 2;
  }
  const std::string_view source = argv[1];
  icotake::ExtractIntoFolder([source] { return icotake::MakeText(source); }, argv[2]);
  return 0;
}
