// tiecalc-fragc: compiles the readable report fragments into word-processing
// documents at build time, and embeds the documents in the program.
//
//   tiecalc-fragc compile SOURCE OUTPUT [--figure NAME=PNG]... [--missing NAME]... [--dpi N]
//   tiecalc-fragc embed OUTPUT.cpp HEADER FUNCTION NAME=FILE...

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "fragc/FragmentSource.h"
#include "fragc/Notation.h"
#include "platform/word/PackageBuilder.h"

namespace {

using namespace tiecalc;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::pair<std::string, std::string> SplitAssignment(const std::string& text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) throw std::runtime_error("expected NAME=FILE, got " + text);
  return {text.substr(0, equals), text.substr(equals + 1)};
}

int Compile(const std::vector<std::string>& args) {
  if (args.size() < 2) throw std::runtime_error("compile needs SOURCE and OUTPUT");
  FigureSet figures;
  for (std::size_t i = 2; i < args.size(); ++i) {
    const bool more = i + 1 < args.size();
    if (args[i] == "--figure" && more) {
      const auto [name, file] = SplitAssignment(args[++i]);
      figures.pngs[name] = ReadFile(file);
    } else if (args[i] == "--missing" && more) {
      figures.missing.insert(args[++i]);
    } else if (args[i] == "--dpi" && more) {
      figures.fallbackDpi = std::stod(args[++i]);
    } else {
      throw std::runtime_error("unknown argument " + args[i]);
    }
  }
  const fragc::FragmentSource source = fragc::LoadFragmentSource(args[0]);
  WritePackage(args[1], BuildPackage(source, figures, fragc::AppendNotation));
  return 0;
}

int Embed(const std::vector<std::string>& args) {
  if (args.size() < 3) throw std::runtime_error("embed needs OUTPUT.cpp HEADER FUNCTION NAME=FILE...");
  std::ostringstream out;
  out << "// Generated at build time by tiecalc-fragc from the compiled report fragments.\n"
      << "#include \"" << args[1] << "\"\n\nnamespace tiecalc {\n\nnamespace {\n";
  std::vector<std::string> names;
  for (std::size_t i = 3; i < args.size(); ++i) {
    const auto [name, file] = SplitAssignment(args[i]);
    const std::string bytes = ReadFile(file);
    out << "\nconst unsigned char kFile" << names.size() << "[] = {";
    for (std::size_t k = 0; k < bytes.size(); ++k) {
      if (k % 24 == 0) out << "\n";
      out << static_cast<unsigned>(static_cast<unsigned char>(bytes[k])) << ",";
    }
    out << "\n};\n";
    names.push_back(name);
  }
  out << "\nconst EmbeddedFile kFiles[] = {\n";
  for (std::size_t k = 0; k < names.size(); ++k)
    out << "    {\"" << names[k] << "\", kFile" << k << ", sizeof kFile" << k << "},\n";
  out << "};\n\n}  // namespace\n\nstd::span<const EmbeddedFile> " << args[2]
      << "() { return kFiles; }\n\n}  // namespace tiecalc\n";
  std::ofstream file(args[0], std::ios::binary | std::ios::trunc);
  file << out.str();
  if (!file.flush()) throw std::runtime_error("cannot write " + args[0]);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (!args.empty() && args[0] == "compile") return Compile({args.begin() + 1, args.end()});
    if (!args.empty() && args[0] == "embed") return Embed({args.begin() + 1, args.end()});
    std::cerr << "usage: tiecalc-fragc compile SOURCE OUTPUT [--figure NAME=PNG]... [--missing NAME]... [--dpi N]\n"
                 "       tiecalc-fragc embed OUTPUT.cpp HEADER FUNCTION NAME=FILE...\n";
    return 2;
  } catch (const std::exception& error) {
    std::cerr << "tiecalc-fragc: " << (args.size() > 1 ? args[1] + ": " : "") << error.what() << "\n";
    return 1;
  }
}
