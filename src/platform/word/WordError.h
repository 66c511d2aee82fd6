#pragma once
// The error the document layer raises: a package that is not a
// word-processing document or lacks a part it refers to, a table without
// cells, a package that cannot be built or written. Its text, in Chinese,
// names the package concerned; the command that writes the document says it
// once, in its own message.

#include <stdexcept>
#include <string>

namespace tiecalc {

class WordError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tiecalc
