#pragma once
// RunForm: the start of every piece of work. Reads the installed packages,
// settles the package (asking the user, or taking the viewer's choice),
// unscrambles its configuration into a temporary copy and opens the main
// dialog with the package name in its caption.

#include <optional>
#include <string>
#include <vector>

#include "core/component/dialog_hosts.h"
#include "core/form1/message_boxes.h"
#include "core/component/process_state.h"
#include "core/config/package_configuration.h"
#include "core/config/registry.h"
#include "core/config/temp_files.h"
#include "core/text/codec.h"

namespace atrybuty {

struct RunFormServices {
  Registry& registry;
  TempFiles& temp;
  const TextCodec& codec;
  MessageBoxes& messages;
  PackageDialog& packageDialog;
  MainDialog& mainDialog;
};

inline constexpr char kMainCaptionPrefix[] = "Zmiana atrybutów linii - ";
inline constexpr char kConfigMessage[] =
    "Nie mogę zlikalizować pliku konfiguracji. Pakiet nie został poprawnie zainstalowany. "
    "Skontaktuj się z dostawcą oprogramowania.";


// Runs the start for the object whose properties are `self`. Returns the
// error the host receives, or nothing when the run ended normally (including
// the ends with a message and the silent end on an empty choice).
std::optional<HostError> RunForm(const AttributeData& self, ProcessState& state, RunFormServices& s);

}  // namespace atrybuty
