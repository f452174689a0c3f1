#include "bench_document.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace tessival::bench {
namespace {

// The table keeps its hand-made columns.
// clang-format off
constexpr std::array<std::string_view, 24> kWords = {
    "Wörterbuch", "die",        "Übersetzung", "für",     "das",      "Stichwort",
    "gefunden",   "Ergebnisse", "Bedeutung",   "und",     "mit",      "Beispielsätze",
    "Straße",     "groß",       "über",        "Anfrage", "zwischen", "Sprache",
    "dictionary", "translation", "the",        "results", "of",       "Größe"};

// A small deterministic generator, so every run measures the same document.
class Rng {
 public:
  std::uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  std::size_t Below(std::size_t n) { return Next() % n; }

 private:
  std::uint32_t state_ = 20261207u;
};
// clang-format on

// The sources are UTF-8; the engine reads Windows-1252, so the umlauts go in as such.
std::string ToLatin1(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c == 0xC3 && i + 1 < utf8.size()) {
      out += static_cast<char>(static_cast<unsigned char>(utf8[++i]) + 0x40);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

void AppendText(std::string& out, Rng& rng, int words) {
  static constexpr std::array<std::string_view, 6> kEntities = {"&amp;",  "&auml;", "&quot;",
                                                                "&#228;", "&nbsp;", "&szlig;"};
  for (int i = 0; i < words; ++i) {
    if (i > 0) out += (rng.Below(12) == 0) ? "\r\n" : " ";
    if (rng.Below(40) == 0) {
      out += kEntities[rng.Below(kEntities.size())];
    } else if (rng.Below(30) == 0) {
      out += "<b>";
      out += ToLatin1(kWords[rng.Below(kWords.size())]);
      out += "</b>";
    } else if (rng.Below(45) == 0) {
      out += "<a href=\"/dict?search=" + ToLatin1(kWords[rng.Below(kWords.size())]) +
             "&amp;lang=de\" class=link>";
      out += ToLatin1(kWords[rng.Below(kWords.size())]);
      out += "</a>";
    } else {
      out += ToLatin1(kWords[rng.Below(kWords.size())]);
    }
  }
}

void AppendTable(std::string& out, Rng& rng, int depth) {
  out += "<table border=0 cellpadding=\"2\" cellspacing=1 width=\"100%\" bgcolor=#f0f0f0>\r\n";
  const int rows = 3 + static_cast<int>(rng.Below(6));
  for (int r = 0; r < rows; ++r) {
    out += "  <tr valign=top>\r\n";
    for (int c = 0; c < 3; ++c) {
      out += "    <td class=\"cell\" width=33% align=left><font face=\"Arial\" size=2>";
      if (depth < 2 && rng.Below(8) == 0) {
        AppendTable(out, rng, depth + 1);
      } else {
        AppendText(out, rng, 4 + static_cast<int>(rng.Below(12)));
      }
      out += "</font></td>\r\n";
    }
    out += "  </tr>\r\n";
  }
  out += "</table>\r\n";
}

void AppendForm(std::string& out) {
  out +=
      "<form method=GET action=\"/cgi-bin/search\" name=suche>\r\n"
      "  <input type=text name=query size=40 maxlength=200 value=\"\">\r\n"
      "  <select name=lang><option value=de selected>Deutsch</option>"
      "<option value=en>Englisch</option><option value=fr>Franz&ouml;sisch</option></select>\r\n"
      "  <input type=checkbox name=exact checked> genaue Suche\r\n"
      "  <textarea name=notes rows=3 cols=40>Notizen</textarea>\r\n"
      "  <input type=submit value=\"Suchen &raquo;\">\r\n"
      "</form>\r\n";
}

void AppendPage(std::string& out, Rng& rng) {
  out +=
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
      "<html><head><title>Ergebnisse der Suche</title>\r\n"
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\r\n"
      "<!-- page generated for the benchmark -->\r\n"
      "</head>\r\n<body bgcolor=\"#FFFFFF\" text=#000000 link=\"#0000CC\" vlink=#551A8B>\r\n";
  AppendForm(out);
  for (int block = 0; block < 6; ++block) {
    out += "<h2 align=center>";
    AppendText(out, rng, 3);
    out += "</h2>\r\n<p class=\"text\">";
    AppendText(out, rng, 120 + static_cast<int>(rng.Below(200)));
    out += "</p>\r\n";
    AppendTable(out, rng, 0);
    out += "<ul>\r\n";
    for (int i = 0; i < 5; ++i) {
      out += "<li>";
      AppendText(out, rng, 8);
      out += "\r\n";
    }
    out += "</ul>\r\n<hr noshade size=1>\r\n";
  }
  out += "<p>&copy; 2026 &middot; <a href=\"/impressum.html\">Impressum</a></p>\r\n</body></html>\r\n";
}

}  // namespace

std::string MakeBenchDocument(std::size_t bytes) {
  std::string out;
  out.reserve(bytes + 64 * 1024);
  Rng rng;
  while (out.size() < bytes) AppendPage(out, rng);
  out.resize(bytes);
  return out;
}

}  // namespace tessival::bench
