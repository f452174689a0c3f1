#include "german_page.h"

#include <array>
#include <string_view>

namespace tessival::bench {

namespace {

// The table keeps its hand-made columns.
// clang-format off
constexpr std::array<std::string_view, 12> Sentences = {
    "Die deutsche Sprache geh&ouml;rt zum westlichen Zweig der germanischen Sprachen.",
    "Sie wird von rund 100&nbsp;Millionen Menschen als Muttersprache gesprochen.",
    "Zu ihren Besonderheiten z&auml;hlen die <b>Gro&szlig;schreibung</b> der Substantive.",
    "Nach kurzem Vokal steht <i>ss</i>, nach langem Vokal das Eszett&nbsp;&szlig;.",
    "Die <a href=\"reform.htm\">Rechtschreibreform</a> brachte neue Regeln f&uuml;r die Schreibung.",
    "B&auml;cker, M&uuml;ller, &Ouml;lfarbe und &Uuml;bersetzung sind typische W&ouml;rter.",
    "Aus &bdquo;Gr&uuml;&szlig;e&ldquo; wird in E-Mails ohne Umlaute dann &bdquo;Gruesse&ldquo;.",
    "Ein Kilogramm kostet 3,50&nbsp;&euro; und die Temperatur betr&auml;gt 21&nbsp;&deg;C.",
    "<font size=\"+1\">Gr&ouml;&szlig;erer Text</font> steht neben <font color=\"#cc0000\">rotem Text</font>.",
    "Weitere Hinweise finden sich im <a href=\"#quellen\"><b>Abschnitt Quellen</b></a> unten.",
    "Die Stra&szlig;e f&uuml;hrt drau&szlig;en am Flu&szlig; entlang bis zur Br&uuml;cke.",
    "<em>W&ouml;rterb&uuml;cher</em> erkl&auml;ren die Bedeutung und Herkunft der W&ouml;rter.",
};
// clang-format on

}  // namespace

std::string MakeGermanPage(std::size_t bytes) {
  std::string page = "<html><head><title>Deutsche Sprache</title></head><body>\n";
  std::size_t sentence = 0;
  int section = 0;
  while (page.size() < bytes) {
    page += "<h2>Abschnitt " + std::to_string(++section) + ": W&ouml;rter und S&auml;tze</h2>\n";
    for (int paragraph = 0; paragraph < 4 && page.size() < bytes; ++paragraph) {
      page += "<p>";
      for (int i = 0; i < 6; ++i) {
        page += Sentences[sentence++ % Sentences.size()];
        page += ' ';
      }
      page += "</p>\n";
    }
  }
  page += "</body></html>\n";
  return page;
}

}  // namespace tessival::bench
