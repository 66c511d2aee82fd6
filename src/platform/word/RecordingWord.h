#pragma once
// An object model that writes down every call it receives, one line per call,
// in order, for tests that compare whole call sequences:
//
//   Documents.Add("", BOOL false, I4 0, BOOL true)
//   Font.Size = R4 25
//   Release Selection
//
// Strings are quoted (with \r, \n, \" and \\ escaped), 16-bit integers are
// "I2 n", 32-bit integers "I4 n", booleans "BOOL true", 4-byte reals "R4 x",
// an omitted argument "-". Property gets are written as the bare member, a
// put as "Member = value", and an object whose last reference is dropped as
// "Release Object".
//
// Given an inner registry (the embedded engine, say) every call is also
// passed on to it; without one the calls only return fresh recording objects.
// Faults make chosen calls give no object, as a failing service would.

#include <memory>
#include <string>
#include <vector>

#include "platform/word/WordObjectModel.h"

namespace tiecalc {

struct WordFaults {
  bool noClass = false;          // LookupClass finds nothing
  bool running = false;          // without an inner registry: an instance is running
  bool noDispatch = false;       // the running instance gives no automation interface
  bool noInstance = false;       // CreateInstance fails
  bool noDocuments = false;      // Application.Documents
  bool noActiveDocument = false; // Application.ActiveDocument
  bool noSelection = false;      // Application.Selection
  bool noRange = false;          // Document.Range
  bool noTables = false;         // Document.Tables
  bool noOpenedDocument = false; // Documents.Open
};

struct WordCallLog {
  std::vector<std::string> calls;
  WordFaults faults;
};

class CRecordingWordRegistry : public IWordClassRegistry {
 public:
  explicit CRecordingWordRegistry(std::shared_ptr<IWordClassRegistry> inner = nullptr);

  WordFaults& Faults() { return m_log->faults; }
  const std::vector<std::string>& Calls() const { return m_log->calls; }
  // The calls, one per line, each ended by a line feed.
  std::string Text() const;
  void Clear() { m_log->calls.clear(); }

  std::optional<std::string> LookupClass(const std::string& progId) override;
  std::shared_ptr<IWordRunningInstance> GetRunningInstance(const std::string& classId) override;
  std::shared_ptr<IWordApplication> CreateInstance(const std::string& classId) override;

 private:
  std::shared_ptr<IWordClassRegistry> m_inner;
  std::shared_ptr<WordCallLog> m_log;
};

// How the recorder writes one argument; shared with tests that build
// expected lines.
std::string RecordedString(const std::string& text);

}  // namespace tiecalc
