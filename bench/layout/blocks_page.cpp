#include "blocks_page.h"

#include <array>
#include <string_view>

namespace tessival::bench {
namespace {

constexpr std::array<std::string_view, 6> kSentences = {
    "Die Messstationen meldeten an elf Tagen Niederschlag, davon an drei Tagen Schnee. ",
    "Der Bericht fasst die wichtigsten Beobachtungen zusammen. ",
    "An der K&uuml;ste wehte der Wind zeitweise st&uuml;rmisch aus Nordwest. ",
    "Im Bergland lag bis in die Mittagsstunden dichter Nebel. ",
    "Die Temperaturen lagen etwas &uuml;ber dem langj&auml;hrigen Mittel. ",
    "Am Monatsende brachte ein Tief noch einmal kr&auml;ftige Schauer. ",
};

void AppendSection(std::string& page, int index) {
  const auto sentence = [&](int k) {
    return kSentences[static_cast<std::size_t>(index + k) % kSentences.size()];
  };
  page += "<div class=abschnitt style='border:1px solid #808080;padding:6px;margin:8px 0'>";
  page += "<h2>Abschnitt " + std::to_string(index) + "</h2>";
  page += "<div style='float:right;width:200px;border:1px solid #c09040;padding:4px;margin-left:10px'>";
  page += "<b>Kurz</b><ul><li>Mittel " + std::to_string(index % 13) + " Grad<li>Regen " +
          std::to_string(index % 90) + " mm</ul></div>";
  for (int p = 0; p < 3; ++p) {
    page += "<p>";
    for (int s = 0; s < 4; ++s) page += sentence(p + s);
    page += "</p>";
  }
  page += "<ol><li>";
  page += sentence(1);
  page += "<ul><li>";
  page += sentence(2);
  page += "<ul><li>";
  page += sentence(3);
  page += "<li>";
  page += sentence(4);
  page += "</ul></ul><li>";
  page += sentence(5);
  page += "</ol><blockquote>";
  page += sentence(0);
  page += "</blockquote><div style='clear:both'></div><hr>";
  page += "<pre>for station in stationen:\n    summe += station.wert\n\nprint(summe)</pre>";
  page += "</div>\n";
}

}  // namespace

std::string MakeBlocksPage(std::size_t bytes) {
  std::string page = "<html><head><title>Bericht</title></head><body>";
  for (int index = 0; page.size() < bytes; ++index) AppendSection(page, index);
  page += "</body></html>";
  return page;
}

std::string MakeNestedDivs(int depth) {
  std::string page = "<html><body>";
  for (int i = 0; i < depth; ++i) page += "<div style='margin-left:1px'>Ebene " + std::to_string(i);
  for (int i = 0; i < depth; ++i) page += "</div>";
  return page + "</body></html>";
}

std::string MakeNestedLists(int depth) {
  std::string page = "<html><body>";
  for (int i = 0; i < depth; ++i)
    page += "<ul style='margin-left:1px;padding-left:0'><li>Ebene " + std::to_string(i);
  for (int i = 0; i < depth; ++i) page += "</ul>";
  return page + "</body></html>";
}

}  // namespace tessival::bench
