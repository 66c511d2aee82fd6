#include "platform/process/Module.h"

#include <dlfcn.h>

#include <stdexcept>
#include <string>
#include <system_error>

namespace tiecalc::process {

void* LoadModuleSymbol(const std::vector<std::filesystem::path>& files, const char* symbol) {
  for (const std::filesystem::path& file : files) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) continue;
    // Functions are bound at their first call: most of the module's forty
    // libraries' functions are never called.
    void* module = dlopen(file.c_str(), RTLD_LAZY | RTLD_LOCAL);
    const char* error = module ? nullptr : dlerror();
    if (module) {
      if (void* address = dlsym(module, symbol)) return address;
      error = dlerror();
    }
    throw std::runtime_error(file.string() + ": " + (error ? error : "cannot be loaded"));
  }
  throw std::runtime_error((files.empty() ? std::string("module") : files.front().filename().string()) +
                           " is not installed");
}

void* SystemLibrarySymbol(const char* soname, const char* symbol) {
  void* library = dlopen(soname, RTLD_LAZY | RTLD_LOCAL);
  return library ? dlsym(library, symbol) : nullptr;
}

}  // namespace tiecalc::process
