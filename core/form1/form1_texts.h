#pragma once
// Form1's messages. The fixed texts are the system's own; the others explain
// situations the data files, the registry or the host can cause.

#include <string>

namespace atrybuty::texts {

inline constexpr char kNoRecordBefore[] = "Brak warstwy ";
inline constexpr char kNoRecordAfter[] = ". Zainstaluj ponownie pakiet lub skontaktuj się z dostawcą oprogramowania.";
inline constexpr char kBadValue[] = "Nie mogę poprawnie odczytać atrybutów pliku. Zainstaluj pakiet ponownie.";
inline constexpr char kNoLayerColour[] = "Brak warstwy o podanej nazwie.";
inline constexpr char kNoLayer[] = "Brak warstwy o podanej nazwie";
inline constexpr char kChangeDoneBefore[] = "Zmiana atrybutów linii warstwy ";
inline constexpr char kChangeDoneA[] =
    " została zakończona. Wprowadzone zmiany będą widoczne po utworzeniu nowej mapy, lub odświeżeniu już istniejącej.";
inline constexpr char kChangeDoneB[] =
    " została zakończona. Wprowadzone zmiany będą widoczne po utworzeniu nowej mapy.";
inline constexpr char kSaveQuestion[] =
    "Dane w arkuszu zostały zmienione. Aby ujrzeć zmiany należy zamknąć i ponownie otworzyć arkusz.\r"
    "Czy zapisać i zamknąć arkusz?";

inline std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace atrybuty::texts
