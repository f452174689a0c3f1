#include "platform/browser_command.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace tessival::platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool HasProgramSuffixAt(std::string_view command, std::size_t at) {
  static constexpr std::array<std::string_view, 3> kSuffixes{".EXE", ".BAT", ".COM"};
  if (at + 4 > command.size()) return false;
  std::string upper(command.substr(at, 4));
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return std::find(kSuffixes.begin(), kSuffixes.end(), upper) != kSuffixes.end();
}

// A suffix counts only where a path can end: before a blank, a quote or the end. Otherwise
// the ".com" of a host name inside an option would be taken for a program.
bool EndsAWord(std::string_view command, std::size_t end) {
  return end == command.size() || IsBlank(command[end]) || command[end] == '"';
}

// A program path with blanks in it is quoted or a Windows path with backslashes, and it
// holds no option ("-x") and no placeholder ("%1", "%u"). A candidate that breaks this
// is a desktop-entry command with a host name among its arguments.
bool LooksLikeProgramPath(std::string_view candidate) {
  const bool has_blank = std::any_of(candidate.begin(), candidate.end(), IsBlank);
  const bool windows_path = candidate.find('\\') != std::string_view::npos;
  if (has_blank && !windows_path && candidate.front() != '"') return false;
  for (std::size_t i = 0; i < candidate.size(); ++i) {
    if (i > 0 && !IsBlank(candidate[i - 1])) continue;
    if (candidate[i] == '-') return false;
    const bool placeholder = candidate[i] == '%' && i + 1 < candidate.size() &&
                             std::isalnum(static_cast<unsigned char>(candidate[i + 1])) &&
                             (i + 2 == candidate.size() || IsBlank(candidate[i + 2]));
    if (placeholder) return false;
  }
  return true;
}

std::optional<std::size_t> FindProgramEnd(std::string_view command) {
  // Scanning backwards stops at the start of the command.
  for (std::size_t at = command.size() >= 4 ? command.size() - 4 + 1 : 0; at-- > 0;) {
    if (HasProgramSuffixAt(command, at) && EndsAWord(command, at + 4) &&
        LooksLikeProgramPath(command.substr(0, at + 4))) {
      return at + 4;
    }
  }
  return std::nullopt;
}

// Every double quote removed, every word that begins with "%" removed up to the next blank.
std::vector<std::string> WindowsArguments(std::string_view tail) {
  std::string text;
  for (char c : Trim(tail)) {
    if (c != '"') text += c;
  }
  std::vector<std::string> words;
  std::string word;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || IsBlank(text[i])) {
      if (!word.empty() && word.front() != '%') words.push_back(word);
      word.clear();
    } else {
      word += text[i];
    }
  }
  return words;
}

bool IsUrlFieldCode(char code) { return code == 'u' || code == 'U' || code == 'f' || code == 'F'; }

// Removes field codes from one argument, "%%" becoming "%". Sets `takes_url` when the
// whole word was a placeholder for the address or a file.
std::string WithoutFieldCodes(const std::string& word, bool& takes_url) {
  takes_url = word.size() == 2 && word[0] == '%' && IsUrlFieldCode(word[1]);
  std::string result;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (word[i] != '%') {
      result += word[i];
    } else if (i + 1 < word.size()) {
      if (word[i + 1] == '%') result += '%';
      ++i;  // the code's letter goes with it
    }
  }
  return result;
}

}  // namespace

std::vector<std::string> BrowserCommand::ArgumentVector(const std::string& url) const {
  std::vector<std::string> argv{program};
  const std::size_t position = std::min(url_position, arguments.size());
  argv.insert(argv.end(), arguments.begin(), arguments.begin() + static_cast<std::ptrdiff_t>(position));
  argv.push_back(url);
  argv.insert(argv.end(), arguments.begin() + static_cast<std::ptrdiff_t>(position), arguments.end());
  return argv;
}

std::optional<BrowserCommand> SplitBrowserCommand(std::string_view command) {
  if (auto windows = SplitWindowsCommand(command)) return windows;
  return SplitDesktopCommand(command);
}

std::optional<BrowserCommand> SplitWindowsCommand(std::string_view command) {
  const std::optional<std::size_t> end = FindProgramEnd(command);
  if (!end) return std::nullopt;
  std::string_view program = Trim(command.substr(0, *end));
  if (!program.empty() && program.front() == '"') program.remove_prefix(1);
  if (program.empty()) return std::nullopt;
  // The address comes first, the registered options after it.
  return BrowserCommand{std::string(program), WindowsArguments(command.substr(*end)), 0};
}

std::optional<BrowserCommand> SplitDesktopCommand(std::string_view command) {
  std::vector<std::string> words = SplitCommandWords(command);
  if (words.empty() || words.front().empty()) return std::nullopt;
  BrowserCommand result{words.front(), {}, 0};
  std::optional<std::size_t> url_position;
  for (std::size_t i = 1; i < words.size(); ++i) {
    bool takes_url = false;
    std::string argument = WithoutFieldCodes(words[i], takes_url);
    if (takes_url && !url_position) url_position = result.arguments.size();
    if (!argument.empty()) result.arguments.push_back(std::move(argument));
  }
  // Without a placeholder the address is appended, as a desktop does for such entries.
  result.url_position = url_position.value_or(result.arguments.size());
  return result;
}

std::vector<std::string> SplitCommandWords(std::string_view command) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  char quote = 0;
  for (std::size_t i = 0; i < command.size(); ++i) {
    const char c = command[i];
    if (quote == '\'') {
      if (c == '\'') quote = 0;
      else word += c;
    } else if (quote == '"') {
      if (c == '"') {
        quote = 0;
      } else if (c == '\\' && i + 1 < command.size()) {
        word += command[++i];
      } else {
        word += c;
      }
    } else if (IsBlank(c)) {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
    } else {
      in_word = true;
      if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '\\' && i + 1 < command.size()) {
        word += command[++i];
      } else {
        word += c;
      }
    }
  }
  // An unclosed quote runs to the end of the line.
  if (in_word) words.push_back(std::move(word));
  return words;
}

}  // namespace tessival::platform
