#pragma once
// Standard error goes nowhere while a SilencedStderr lives. A library that prints its own error
// lines (the spreadsheet writer prints "[ERROR] ..." when a file operation fails) is quieted this
// way; the program reports the failure in its own words. For short single calls only: it applies
// to the whole process.

namespace grx {

class SilencedStderr {
 public:
  SilencedStderr();
  ~SilencedStderr();
  SilencedStderr(const SilencedStderr&) = delete;
  SilencedStderr& operator=(const SilencedStderr&) = delete;

 private:
  int saved_ = -1;
};

}  // namespace grx
