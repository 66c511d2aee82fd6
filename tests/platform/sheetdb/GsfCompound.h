#pragma once
// libgsf as an independent reader and writer of compound files, for the
// tests on Linux: what we write it must read, and what it writes we must
// read, with the streams and storages other programs put beside the
// workbook.

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tiecalc::gsfcompound {

// A compound file holding each stream; "Storage/Name" puts the stream into a
// storage of the root.
inline std::string Write(const std::vector<std::pair<std::string, std::string>>& streams) {
  GsfOutput* memory = gsf_output_memory_new();
  GsfOutfile* ole = gsf_outfile_msole_new(memory);
  std::map<std::string, GsfOutfile*> storages;
  for (const auto& [path, bytes] : streams) {
    GsfOutfile* parent = ole;
    std::string name = path;
    if (const size_t slash = path.find('/'); slash != std::string::npos) {
      GsfOutfile*& storage = storages[path.substr(0, slash)];
      if (!storage) storage = GSF_OUTFILE(gsf_outfile_new_child(ole, path.substr(0, slash).c_str(), TRUE));
      parent = storage;
      name = path.substr(slash + 1);
    }
    GsfOutput* child = gsf_outfile_new_child(parent, name.c_str(), FALSE);
    gsf_output_write(child, bytes.size(), reinterpret_cast<const guint8*>(bytes.data()));
    gsf_output_close(child);
    g_object_unref(child);
  }
  for (auto& [name, storage] : storages) {
    gsf_output_close(GSF_OUTPUT(storage));
    g_object_unref(storage);
  }
  gsf_output_close(GSF_OUTPUT(ole));
  g_object_unref(ole);
  std::string bytes(reinterpret_cast<const char*>(gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory))),
                    static_cast<size_t>(gsf_output_size(memory)));
  g_object_unref(memory);
  return bytes;
}

// The stream of that name in the root storage; nullopt when there is none.
// Throws when libgsf cannot open the file at all.
inline std::optional<std::string> Read(const std::string& file, const std::string& name) {
  GsfInput* input = gsf_input_memory_new(reinterpret_cast<const guint8*>(file.data()),
                                         static_cast<gsf_off_t>(file.size()), FALSE);
  GError* error = nullptr;
  GsfInfile* ole = gsf_infile_msole_new(input, &error);
  g_object_unref(input);
  if (!ole) {
    const std::string why = error ? error->message : "?";
    if (error) g_error_free(error);
    throw std::runtime_error("libgsf cannot open the compound file: " + why);
  }
  std::optional<std::string> out;
  if (GsfInput* stream = gsf_infile_child_by_name(ole, name.c_str())) {
    std::string data(static_cast<size_t>(gsf_input_size(stream)), '\0');
    if (data.empty() || gsf_input_read(stream, data.size(), reinterpret_cast<guint8*>(data.data()))) out = data;
    g_object_unref(stream);
  }
  g_object_unref(ole);
  return out;
}

}  // namespace tiecalc::gsfcompound
