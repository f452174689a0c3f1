#pragma once
// The page the answer pane shows when a fetch failed: which service, which address, and why,
// in plain German words; below it, for an HTTP error that came with a body, the server's own
// page. The previous answer must never stay on screen as if it answered the new query.
#include <string>

namespace tessival::app {

// What the client reported for a failed request.
struct FetchFailure {
  int status_code = 0;
  std::string reason;  // the reason phrase, or the client's own text for a local failure
};

// The cause in words a user understands (Windows-1252), e.g. "Der Server hat die Verbindung
// abgelehnt". Empty when the failure is none the client is known to report.
std::string DescribeFetchFailure(const FetchFailure& failure);

// True when the failure is the server's own answer (its body is its error page), not a
// failure on the way to it.
bool IsServerAnswer(const FetchFailure& failure);

// The HTML of the failure page: plain ASCII with character references, so that the server's
// page after it is read in the server's own character set. Every text is escaped: the
// address carries what the user typed.
std::string BuildFetchFailurePage(const std::string& service, const std::string& address,
                                  const std::string& cause, const std::string& server_page);

}  // namespace tessival::app
