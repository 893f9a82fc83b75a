#pragma once
// How a run went: one stderr line per failure, and the exit code that sums it up.

#include <string>
#include <string_view>
#include <vector>

namespace icotake::cli {

inline constexpr int kExitAll = 0;      // everything asked for was done
inline constexpr int kExitSome = 1;     // some of it failed, some was done
inline constexpr int kExitNothing = 2;  // nothing was done
inline constexpr int kExitUsage = 64;   // the command line is wrong; nothing was tried

struct Failure {
  std::string file;
  std::string reason;
};

class Report {
 public:
  // "icotake: FILE: reason" on stderr, kept for the JSON listing.
  void Fail(std::string_view file, std::string_view reason);
  void Done() { ++done_; }

  const std::vector<Failure>& failures() const { return failures_; }
  int ExitCode() const;

 private:
  std::vector<Failure> failures_;
  int done_ = 0;
};

}  // namespace icotake::cli
