#include "app/service_table.h"

#include <array>
#include <cstdlib>

#include "app/query_encoding.h"

namespace tessival::app {
namespace {

constexpr const char* kDictionaryHost = "dict.leo.org";
constexpr const char* kTranslationHost = "translate.google.com";
constexpr const char* kNetworkToolsHost = "www.utrace.de";

// clang-format off
constexpr std::array<ServiceRow, 15> kRows = {{
  {"W:DE- EN", "Button1", 57, ToolbarGap::kNone,
   "German-English dictionary", Scheme::kHttps, kDictionaryHost,
   "/?lp=ende&lang=de&searchLoc=0&cmpType=relaxed&relink=on&sectHdr=on&spellToler=std&search=",
   PrePass::kNone, true, "", "translate.htm", PostProcessing::kNone, "translate.htm",
   QueryCharset::kUtf8},
  {"W:DE-FR", "Button2", 56, ToolbarGap::kSeparatorAfter,
   "German-French dictionary", Scheme::kHttps, kDictionaryHost,
   "/?lp=frde&lang=de&searchLoc=0&cmpType=relaxed&relink=on&sectHdr=on&spellToler=std&search=",
   PrePass::kNone, true, "", "translate.htm", PostProcessing::kNone, "translate.htm",
   QueryCharset::kUtf8},
  {"T:DE>EN", "Button13", 54, ToolbarGap::kNone,
   "machine translation German to English", Scheme::kHttps, kTranslationHost,
   "/translate_t?langpair=de%7Cen&text=",
   PrePass::kLineBreaksToSpaces, true, "", "de2en.htm", PostProcessing::kNone, "de2en.htm",
   QueryCharset::kUtf8},
  {"T:EN>DE", "Button14", 54, ToolbarGap::kSeparatorAfter,
   "machine translation English to German", Scheme::kHttps, kTranslationHost,
   "/translate_t?langpair=en%7Cde&text=",
   PrePass::kLineBreaksToSpaces, true, "", "en2de.htm", PostProcessing::kNone, "en2de.htm",
   QueryCharset::kUtf8},
  {"Abk\xFCrzungen", "Button3", 71, ToolbarGap::kNone,
   "abbreviation lookup", Scheme::kHttps, "www.abkuerzungen.de",
   "/v1/a.php?w=",
   PrePass::kNone, true, "", "translate.htm", PostProcessing::kNone, "translate.htm",
   QueryCharset::kUtf8},
  {"Wikipedia", "Button4", 57, ToolbarGap::kNone,
   "encyclopedia search, German edition", Scheme::kHttps, "de.wikipedia.org",
   "/w/wiki.phtml?search=",
   PrePass::kNone, true, "", "wikipediax.htm", PostProcessing::kConvertUtf8Page, "wikipedia.htm",
   QueryCharset::kUtf8},
  {"Wortschatz", "Button6", 64, ToolbarGap::kSeparatorAfter,
   "German vocabulary corpus", Scheme::kHttps, "wortschatz.uni-leipzig.de",
   "/cgi-bin/wort_www?site=1&Wort=",
   PrePass::kNone, true, "&sprache=de", "wortschatz.htm", PostProcessing::kNone, "wortschatz.htm",
   QueryCharset::kUtf8},
  {"QA1", "Button16", 30, ToolbarGap::kNone,
   "question answering, first service", Scheme::kHttps, "start.csail.mit.edu",
   "/startfarm.cgi?query=",
   PrePass::kSpacesToPlus, true, "", "qa1.htm", PostProcessing::kNone, "qa1.htm",
   QueryCharset::kUtf8},
  {"QA2", "Button17", 30, ToolbarGap::kNone,
   "question answering, second service", Scheme::kHttps, "www.ask.com",
   "/search.asp?Q=",
   PrePass::kSpacesToPlus, true, "", "qa2.htm", PostProcessing::kNone, "qa2.htm",
   QueryCharset::kUtf8},
  {"QA3", "Button18", 30, ToolbarGap::kSeparatorAfter,
   "question answering, third service", Scheme::kHttps, "www.answers.com",
   "/scripts/question.cgi?quser=",
   PrePass::kSpacesToPlus, true, "", "qa3.htm", PostProcessing::kNone, "qa3.htm",
   QueryCharset::kUtf8},
  {"Domain", "Button7", 48, ToolbarGap::kNone,
   "domain name availability check", Scheme::kHttps, "www.denic.de",
   "/cgi-bin/checkdomain.pl?domain=",
   PrePass::kNone, true, "", "domain.htm", PostProcessing::kNone, "domain.htm",
   QueryCharset::kUtf8},
  {"IP-Whois", "Button8", 56, ToolbarGap::kNone,
   "IP address owner lookup", Scheme::kHttps, kNetworkToolsHost,
   "/tools/whois.ch?ip=+",
   PrePass::kNone, true, "&email=on", "ipwhois.htm", PostProcessing::kNone, "ipwhois.htm",
   QueryCharset::kWindows1252},
  {"IP-Ort", "Button9", 40, ToolbarGap::kSeparatorAfter,
   "IP address location lookup", Scheme::kHttps, kNetworkToolsHost,
   "/tools/city.ch?ip=",
   PrePass::kNone, true, "", "iport.htm", PostProcessing::kNone, "iport.htm",
   QueryCharset::kWindows1252},
  {"Preise", "Button11", 40, ToolbarGap::kSeparatorAfter,
   "price comparison search", Scheme::kHttps, "www.preissuchmaschine.de",
   "/psm_frontend/main.asp?sucheall=",
   PrePass::kSpacesToPlus, true, "", "preise.htm", PostProcessing::kNone, "preise.htm",
   QueryCharset::kWindows1252},
  {"News", "Button12", 37, ToolbarGap::kSeparatorAfter,
   "regional news ticker", Scheme::kHttps, "www.tagesschau.de",
   "/tick/km/",
   PrePass::kNone, false, "", "news.htm", PostProcessing::kNone, "news.htm",
   QueryCharset::kWindows1252},
}};
// clang-format on

std::string ApplyPrePass(PrePass pre_pass, const std::string& text) {
  switch (pre_pass) {
    case PrePass::kSpacesToPlus: return SpacesToPlus(text);
    case PrePass::kLineBreaksToSpaces: return LineBreaksToSpaces(text);
    case PrePass::kNone: break;
  }
  return text;
}

// TESSIVAL_SERVICE_HOST, or "" when unset.
std::string ServiceHostReplacement() {
  const char* replacement = std::getenv("TESSIVAL_SERVICE_HOST");
  return replacement != nullptr ? replacement : "";
}

}  // namespace

std::span<const ServiceRow> ServiceTable() { return kRows; }

const ServiceRow* FindService(const std::string& caption) {
  for (const ServiceRow& row : kRows) {
    if (caption == row.caption) return &row;
  }
  return nullptr;
}

std::string ServiceHost(const ServiceRow& row) {
  const std::string replacement = ServiceHostReplacement();
  if (replacement.empty()) return row.host;
  const std::size_t scheme_end = replacement.find("://");
  return scheme_end == std::string::npos ? replacement : replacement.substr(scheme_end + 3);
}

std::string ServiceOrigin(const ServiceRow& row) {
  std::string replacement = ServiceHostReplacement();
  if (replacement.find("://") != std::string::npos) return replacement;
  if (!replacement.empty()) return "http://" + replacement;
  return (row.scheme == Scheme::kHttps ? "https://" : "http://") + std::string(row.host);
}

std::string BuildQueryAddress(const ServiceRow& row, const std::string& memo_text) {
  std::string address = ServiceOrigin(row) + row.prefix;
  if (row.uses_memo_text) {
    const std::string text = ApplyPrePass(row.pre_pass, memo_text);
    address += row.query_charset == QueryCharset::kUtf8 ? EncodeQueryTextUtf8(text)
                                                        : EncodeQueryText(text);
  }
  return address + row.suffix;
}

}  // namespace tessival::app
