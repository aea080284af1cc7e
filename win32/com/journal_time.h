#pragma once
// The change journal's times (UTC, "2026-12-08T10:11:12Z") as the automation
// dates of a host, which are local time, and back.

#include <windows.h>
#include <oleauto.h>

#include <optional>
#include <string>
#include <string_view>

namespace atrybuty::win32 {

std::optional<DATE> LocalDateOfJournalTime(std::string_view journalTime);
std::optional<std::string> JournalTimeOfLocalDate(DATE local);

}  // namespace atrybuty::win32
