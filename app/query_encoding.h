#pragma once
// The text transformations between the upper pane and a service's query address, and the
// conversion of a UTF-8 answer page to single-byte text. All text is Windows-1252 bytes.
#include <string>

namespace tessival::app {

// Byte-wise escaping with the program's own table: it is not "escape everything above 127".
// "%", "&", "+", "=", "#", "?", "/", CR and LF stay as they are; "|" becomes "%A6" and byte
// 175 becomes "%AD", as the services have always been sent them.
std::string EncodeQueryText(const std::string& text);

// For services that read their queries as UTF-8: the text's characters as UTF-8, ASCII
// bytes through the same table as above, every byte of a longer sequence as "%XX"
// ("Grüße" becomes "Gr%C3%BC%C3%9Fe"). "|" is still sent as the broken bar, in its UTF-8
// form "%C2%A6". Bytes Windows-1252 leaves undefined travel as the C1 control codes of the
// same number.
std::string EncodeQueryTextUtf8(const std::string& text);

// Every space becomes "+".
std::string SpacesToPlus(std::string text);

// Every CR and every LF becomes a space (a CR LF pair becomes two spaces).
std::string LineBreaksToSpaces(std::string text);

// Converts a UTF-8 page byte by byte into a single-byte page (names relative to the current
// directory). Two-byte sequences below 256 keep their character, four quotation marks are
// mapped, everything else becomes "?". Throws EInOutError on any read, write or open error,
// including a file that ends inside a sequence; the hourglass shows meanwhile.
void ConvertUtf8Page(const std::string& source_name, const std::string& destination_name);

}  // namespace tessival::app
