#pragma once
// The shorthand properties of CSS, expanded into the longhands the style model stores.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tessival::html {

// Receives each longhand (name, value) a shorthand sets.
using TDeclarationSink = std::function<void(std::string_view name, std::string_view value)>;
// Makes the url() inside a value absolute; empty when URLs stay as written.
using TUrlFixer = std::function<std::string(std::string_view value)>;

bool IsShorthand(std::string_view name);
void ExpandShorthand(std::string_view name, std::string_view value, const TDeclarationSink& sink,
                     const TUrlFixer& fixUrl);

// The words of a shorthand value, at most `maxWords` of them: quoted parts stay together,
// "a, b" stays one word ("a,b"), and "12pt/14pt" gives "12pt" and "/14pt".
std::vector<std::string> SplitValueWords(std::string_view value, std::size_t maxWords);

// Cuts each url(...) and rgb(...) out of `value` (leftmost first, at most seven) and
// returns them.
std::vector<std::string> TakeOutFunctions(std::string& value);

}  // namespace tessival::html
