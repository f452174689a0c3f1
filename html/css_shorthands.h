#pragma once
// The shorthand properties of CSS, expanded into the longhands the style model stores.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "html/style_values.h"

namespace tessival::html {

// Receives each longhand (slot, value) a shorthand sets. It refers to a callable the caller
// keeps alive, so that making one costs nothing and each call is one indirect call: a
// shorthand sets up to six longhands, and every declaration of a sheet may be one.
class TLonghandSink {
 public:
  template <typename Receiver>
  requires(!std::is_same_v<std::remove_cvref_t<Receiver>, TLonghandSink>)
      TLonghandSink(Receiver& receiver)  // NOLINT(google-explicit-constructor): any callable
      : Object(const_cast<void*>(static_cast<const void*>(std::addressof(receiver)))),
        Call([](void* object, PropIndex index, std::string_view value) {
          (*static_cast<Receiver*>(object))(index, value);
        }) {}

  void operator()(PropIndex index, std::string_view value) const { Call(Object, index, value); }

 private:
  void* Object;
  void (*Call)(void* object, PropIndex index, std::string_view value);
};

// Makes the url() inside a value absolute; empty when URLs stay as written.
using TUrlFixer = std::function<std::string(std::string_view value)>;

bool IsShorthand(std::string_view name);
void ExpandShorthand(std::string_view name, std::string_view value, const TLonghandSink& sink,
                     const TUrlFixer& fixUrl);

// The words of a shorthand value, at most `maxWords` of them: quoted parts stay together,
// "a, b" stays one word ("a,b"), and "12pt/14pt" gives "12pt" and "/14pt".
std::vector<std::string> SplitValueWords(std::string_view value, std::size_t maxWords);

// Cuts each url(...) and rgb(...) out of `value` (leftmost first, at most seven) and
// returns them.
std::vector<std::string> TakeOutFunctions(std::string& value);

}  // namespace tessival::html
