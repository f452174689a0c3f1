#include "net/http_date.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace tessival::net {
namespace {

using std::chrono::days;
using std::chrono::sys_days;

constexpr sys_days kEpoch = sys_days(std::chrono::year(1899) / 12 / 30);

}  // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
  const sys_days date = sys_days(std::chrono::year(year) / month / day);
  const double whole = static_cast<double>((date - kEpoch).count());
  return whole + (hour * 3600 + minute * 60 + second) / 86400.0;
}

std::string RFC1123Date(TDateTime value) {
  static constexpr char kDays[] = "MonTueWedThuFriSatSun";
  static constexpr char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  const double whole_days = std::floor(value);
  const long long day_number = static_cast<long long>(whole_days);
  // A floored remainder, so that dates before 1899 still name a weekday.
  const long long weekday = (((day_number - 2) % 7) + 7) % 7;
  const std::chrono::year_month_day date{kEpoch + days(day_number)};
  long long seconds = std::llround((value - whole_days) * 86400.0);
  seconds = std::min<long long>(seconds, 86399);
  char text[64];
  std::snprintf(text, sizeof text, "%.3s, %2.2u %.3s %4.4d %2.2lld:%2.2lld:%2.2lld", kDays + 3 * weekday,
                static_cast<unsigned>(date.day()),
                kMonths + 3 * (static_cast<unsigned>(date.month()) - 1), static_cast<int>(date.year()),
                seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

}  // namespace tessival::net
