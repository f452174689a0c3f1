#include "tables_page.h"

#include <array>
#include <string_view>

namespace tessival::bench {
namespace {

constexpr std::array<std::string_view, 5> kMeanings = {
    "A sheltered stretch of water where ships may anchor safely. ",
    "A place of refuge or safety for people in need. ",
    "To give shelter to; to keep a thought or feeling in mind. ",
    "The part of a port that is protected from the open sea. ",
    "An area of calm water beside the coast with a quay for boats. ",
};

void AppendEntry(std::string& page, int index) {
  const auto meaning = [&](int k) {
    return kMeanings[static_cast<std::size_t>(index + k) % kMeanings.size()];
  };
  page += "<tr><td valign=top width=8%>" + std::to_string(index) + ".</td><td>";
  page += "<table width=100% border=1 cellpadding=3 cellspacing=0 bgcolor=#f8f8f0>";
  page += "<tr bgcolor=#ccddee><th width=25%>Word</th><th>Meaning</th><th width=15%>Field</th></tr>";
  page += "<tr><td rowspan=2><b>entry " + std::to_string(index) + "</b><br><i>noun</i></td><td>";
  page += meaning(0);
  page += "</td><td>nautical</td></tr><tr><td>";
  page += meaning(1);
  page += "</td><td>figurative</td></tr>";
  page +=
      "<tr><td colspan=3><table cellspacing=1 cellpadding=2 bgcolor=#99aa99><tr>"
      "<td bgcolor=#ffffff>related one</td><td bgcolor=#ffffff>related two</td>"
      "<td bgcolor=#ffffff><a href=\"more.html\">more</a></td></tr></table></td></tr>";
  page += "</table></td></tr>\n";
}

void AppendResultsPage(std::string& page, int& index) {
  page +=
      "<table width=100% cellspacing=0 cellpadding=4 bgcolor=#336699><tr>"
      "<td><font color=#ffffff size=5><b>Lexicon</b></font></td>"
      "<td align=right><font color=#ffffff>Dictionary &middot; Thesaurus &middot; Help</font></td></tr>"
      "</table>\n";
  page += "<table width=100% border=0 cellspacing=6><tr valign=top><td width=75%><table width=100%>\n";
  for (int i = 0; i < 10; ++i) AppendEntry(page, index++);
  page +=
      "</table></td><td bgcolor=#f0f0f0><table width=100% border=1 cellspacing=2>"
      "<tr><th bgcolor=#ffeecc>Recent searches</th></tr><tr><td>anchor</td></tr>"
      "<tr><td>quay</td></tr><tr><td>jetty</td></tr></table></td></tr></table>\n";
}

}  // namespace

std::string MakeTablesPage(std::size_t bytes) {
  std::string page = "<html><head><title>Results</title></head><body bgcolor=#ffffff>\n";
  int index = 1;
  while (page.size() < bytes) AppendResultsPage(page, index);
  return page + "</body></html>\n";
}

}  // namespace tessival::bench
