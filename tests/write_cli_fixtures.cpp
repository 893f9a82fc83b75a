// write_cli_fixtures FOLDER: writes the command line's test files into FOLDER, for the
// end-to-end tests, which run icotake as a user would.

#include <cstdio>
#include <filesystem>

#include "tests/cli_fixtures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: write_cli_fixtures FOLDER\n", stderr);
    return 64;
  }
  const std::filesystem::path folder = argv[1];
  for (const auto& [name, bytes] : icotake::test::CliFixtureFiles()) {
    const std::filesystem::path path = folder / std::filesystem::path(name).make_preferred();
    std::filesystem::create_directories(path.parent_path());
    icotake::test::WriteBytes(path, bytes);
    if (std::filesystem::file_size(path) != bytes.size()) {
      std::fprintf(stderr, "write_cli_fixtures: cannot write %s\n", path.string().c_str());
      return 1;
    }
  }
  return 0;
}
