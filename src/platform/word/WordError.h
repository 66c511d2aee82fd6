#pragma once
// The error the document engine raises during a call: a file that cannot be
// read or written, a document that is not a word-processing package. It ends
// the command in progress; its text names the file concerned.

#include <stdexcept>
#include <string>

namespace tiecalc {

class WordError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tiecalc
