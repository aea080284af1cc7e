#include "win32/com/journal_time.h"

#include <cstdio>

namespace atrybuty::win32 {

std::optional<DATE> LocalDateOfJournalTime(std::string_view t) {
  SYSTEMTIME utc{};
  int y, mo, d, h, mi, s;
  const std::string text(t);
  if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2dZ", &y, &mo, &d, &h, &mi, &s) != 6) return std::nullopt;
  utc.wYear = static_cast<WORD>(y);
  utc.wMonth = static_cast<WORD>(mo);
  utc.wDay = static_cast<WORD>(d);
  utc.wHour = static_cast<WORD>(h);
  utc.wMinute = static_cast<WORD>(mi);
  utc.wSecond = static_cast<WORD>(s);
  SYSTEMTIME local{};
  DATE date = 0;
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) || !SystemTimeToVariantTime(&local, &date))
    return std::nullopt;
  return date;
}

std::optional<std::string> JournalTimeOfLocalDate(DATE date) {
  SYSTEMTIME local{}, utc{};
  if (!VariantTimeToSystemTime(date, &local) || !TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc))
    return std::nullopt;
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", utc.wYear, utc.wMonth, utc.wDay, utc.wHour,
                utc.wMinute, utc.wSecond);
  return std::string(text);
}

}  // namespace atrybuty::win32
