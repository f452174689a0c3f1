#include "net/tls_library.h"

#include <dlfcn.h>

#include <atomic>
#include <type_traits>
#include <string>

#include "net/socket_exception.h"

namespace tessival::net {
namespace {

std::atomic<bool> loaded{false};

// The library stays loaded for the rest of the process: sessions and contexts made from it
// may live until exit, so there is no point at which closing it would be safe.
TlsFunctions Load() {
  void* const library = dlopen(kTlsLibraryFile, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* const reason = dlerror();
    throw ESocketException(std::string("TLS: can't load ") + kTlsLibraryFile + ": " +
                           (reason != nullptr ? reason : "not found"));
  }
  TlsFunctions functions;
  const auto resolve = [library](auto& pointer, const char* name) {
    pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(dlsym(library, name));
    if (pointer == nullptr) {
      throw ESocketException(std::string("TLS: ") + kTlsLibraryFile + " has no " + name);
    }
  };
#define TESSIVAL_TLS_RESOLVE(name) resolve(functions.name, #name);
  TESSIVAL_TLS_FUNCTIONS(TESSIVAL_TLS_RESOLVE)
#undef TESSIVAL_TLS_RESOLVE
  return functions;
}

}  // namespace

const TlsFunctions& TlsLibrary() {
  // A failed load raises and leaves the static unset, so a later connection tries again
  // (the user may have installed the library meanwhile).
  static const TlsFunctions functions = Load();
  loaded.store(true, std::memory_order_release);
  return functions;
}

bool TlsLibraryLoaded() { return loaded.load(std::memory_order_acquire); }

}  // namespace tessival::net
