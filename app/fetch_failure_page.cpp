#include "app/fetch_failure_page.h"

#include <string_view>

namespace tessival::app {
namespace {

// The client's texts for failures on the way to the server, and what they mean. The first
// that the reason contains decides; the TLS library's texts come after a "certificate
// verify failed" prefix, so the particular ones stand before the general one.
struct KnownCause {
  std::string_view clue;
  const char* words;
};
constexpr KnownCause kKnownCauses[] = {
    {"(Error #10061)", "Der Server hat die Verbindung abgelehnt"},
    {"can't resolve hostname", "Der Name des Servers wurde nicht gefunden"},
    {"(Error #10060)",
     "Der Server hat nicht rechtzeitig geantwortet (Zeit\xFC"
     "berschreitung)"},
    {"(Error #10065)", "Der Server ist nicht erreichbar"},
    {"(Error #10051)", "Das Netz des Servers ist nicht erreichbar"},
    {"(Error #10054)", "Der Server hat die Verbindung abgebrochen"},
    {"(Error #10053)", "Die Verbindung wurde abgebrochen"},
    {"certificate has expired", "Das Zertifikat des Servers ist abgelaufen"},
    {"certificate is not yet valid",
     "Das Zertifikat des Servers ist noch nicht g\xFC"
     "ltig"},
    {"hostname mismatch",
     "Das Zertifikat des Servers gilt nicht f\xFC"
     "r diesen Namen"},
    {"IP address mismatch",
     "Das Zertifikat des Servers gilt nicht f\xFC"
     "r diese Adresse"},
    {"self-signed certificate",
     "Das Zertifikat des Servers ist selbst ausgestellt und nicht vertrauensw\xFC"
     "rdig"},
    {"certificate verify failed",
     "Das Zertifikat des Servers ist nicht vertrauensw\xFC"
     "rdig"},
    {"TLS",
     "Die verschl\xFC"
     "sselte Verbindung kam nicht zustande"},
    {"Too many relocations", "Der Server leitet zu oft weiter"},
    {"Request aborted", "Die Abfrage wurde abgebrochen"},
    {"proxy", "Der Proxy hat die Verbindung nicht hergestellt"},
};

// What the common HTTP statuses mean to the user.
struct StatusWords {
  int status;
  const char* words;
};
constexpr StatusWords kStatusWords[] = {
    {400, "Der Server hat die Anfrage nicht verstanden"},
    {401, "Der Server verlangt eine Anmeldung"},
    {403, "Der Server verweigert den Zugriff"},
    {404, "Die Seite wurde auf dem Server nicht gefunden"},
    {410, "Die Seite gibt es auf dem Server nicht mehr"},
    {429, "Der Server meldet zu viele Anfragen"},
    {500, "Der Server meldet einen internen Fehler"},
    {502, "Der Server hat keine Antwort von seinem Hintergrunddienst erhalten"},
    {503,
     "Der Dienst ist zurzeit nicht verf\xFC"
     "gbar"},
    {504, "Der Server hat seinen Hintergrunddienst nicht rechtzeitig erreicht"},
};

const KnownCause* FindKnownCause(const std::string& reason) {
  for (const KnownCause& cause : kKnownCauses) {
    if (reason.find(cause.clue) != std::string::npos) return &cause;
  }
  return nullptr;
}

// Escapes markup and writes every byte beyond ASCII as a character reference of its
// Windows-1252 character, so the page reads the same in any ASCII-based character set.
std::string EscapeText(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        if (byte >= 0x80) {
          out += "&#" + std::to_string(byte) + ";";
        } else if (byte < 0x20 && c != '\r' && c != '\n' && c != '\t') {
          out += ' ';  // a control character would only confuse the reader
        } else {
          out += c;
        }
    }
  }
  return out;
}

}  // namespace

bool IsServerAnswer(const FetchFailure& failure) {
  return failure.status_code >= 400 && FindKnownCause(failure.reason) == nullptr;
}

std::string DescribeFetchFailure(const FetchFailure& failure) {
  if (const KnownCause* cause = FindKnownCause(failure.reason)) return cause->words;
  if (failure.status_code < 400) return {};
  std::string words = "Der Server meldet einen Fehler";
  for (const StatusWords& known : kStatusWords) {
    if (known.status == failure.status_code) words = known.words;
  }
  return words + " (" + std::to_string(failure.status_code) +
         (failure.reason.empty() ? "" : " " + failure.reason) + ")";
}

std::string BuildFetchFailurePage(const std::string& service, const std::string& address,
                                  const std::string& cause, const std::string& server_page) {
  std::string page =
      "<html><head><title>Abfrage fehlgeschlagen</title></head><body>\n"
      "<p><b>Die Abfrage bei &quot;" +
      EscapeText(service) + "&quot; ist fehlgeschlagen.</b></p>\n<p>Ursache: " + EscapeText(cause) +
      ".<br>\nAdresse: " + EscapeText(address) + "</p>\n";
  if (server_page.empty()) return page + "</body></html>\n";
  // The server's page follows as it came: it is its own document, and a reader that meets
  // a second <html> or <body> goes on reading.
  return page + "<hr>\n<p>Die Antwort des Servers:</p>\n" + server_page;
}

}  // namespace tessival::app
