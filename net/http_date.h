#pragma once
// Dates as the client stores them (days since 30 December 1899, the fraction is the time of
// day) and as "If-Modified-Since" sends them.
#include <string>

namespace tessival::net {

using TDateTime = double;

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second);

// "Mon, 03 Jan 2005 10:20:30": the stored value as it is, no time-zone conversion; the
// caller appends " GMT".
std::string RFC1123Date(TDateTime value);

}  // namespace tessival::net
