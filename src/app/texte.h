#pragma once

// The program's own user-interface texts, in UTF-8; the toolkit's ansi() turns them into
// the system's code page before they reach a window.

#include <string>

namespace zk::texte {

// The text with its mark %1 replaced by the value.
inline std::string mit(std::string text, const std::string& value) {
    if (const auto at = text.find("%1"); at != std::string::npos) text.replace(at, 2, value);
    return text;
}

inline constexpr const char* Programm = "Zuklapper";
inline constexpr const char* Form1_Titel = "Zuklapper 1.08";
inline constexpr const char* Titelliste = "Titelliste";
inline constexpr const char* Urlliste = "Urlliste";
inline constexpr const char* Hinzufuegen = "&Hinzufügen";
inline constexpr const char* Eingeben = "&Eingeben";
inline constexpr const char* Loeschen = "&Löschen";
inline constexpr const char* Webbrowser = "&Webbrowser";
inline constexpr const char* Hilfe = "&Hilfe";
inline constexpr const char* Info = "&INFO";
inline constexpr const char* Webbrowser_auswaehlen = "&Webbrowser auswählen";
inline constexpr const char* Aktuelle_Browser = "&Chrome, Edge und Firefox";
inline constexpr const char* Autostart = "&Mit Windows starten";
inline constexpr const char* Sperrzeiten = "Sperr&zeiten …";
inline constexpr const char* Url_Verwaltung = "&Url Verwaltung";
inline constexpr const char* Hotkeys = "H&otkeys";
inline constexpr const char* Schliessen_gesperrt = "&schließen (von Ihrer Organisation gesperrt)";
inline constexpr const char* Organisation_Zusatz = " (Organisation)";
inline constexpr const char* Pause = "&Pause (%1 Minuten)";
inline constexpr const char* Pause_eine_Minute = "&Pause (1 Minute)";
inline constexpr const char* Pause_beenden = "Pause &beenden";
inline constexpr const char* Pause_keine_mehr = "&Pause (heute keine mehr)";
inline constexpr const char* Trenner = " – ";
inline constexpr const char* Heute_geschlossen = "heute %1 geschlossen";
inline constexpr const char* Schliessen = "&schließen";
inline constexpr const char* Form2 = "Form2";
inline constexpr const char* Abbrechen = "&Abbrechen";
inline constexpr const char* Hinzufuegen_Titel = "Hinzufügen";
inline constexpr const char* Url_Beschriftung = "Url:";
inline constexpr const char* Titel_Beschriftung = "Titel:";
inline constexpr const char* OK = "&OK";
inline constexpr const char* Text1 = "Text1";
inline constexpr const char* Hotkeys_Titel = "Hotkeys";
inline constexpr const char* Hotkeys_aktivieren = "Hotkeys aktivieren.";
inline constexpr const char* Funktionstasten = "Funktionstasten";
inline constexpr const char* Titel_hinzufuegen = "Titel hinzufügen";
inline constexpr const char* Url_hinzufuegen = "Url hinzufügen";
inline constexpr const char* Zusatztaste = "Zusatztaste:";
// The maker's homepage, opened from the about box: change it here.
inline constexpr const char* Hersteller = "© Die Zuklapper-Autoren";
inline constexpr const char* Beschreibung =
    "Dieses Programm schließt alle Fenster die in die Liste eingetragen werden.";
inline constexpr const char* Info_Titel = "Info";
inline constexpr const char* Hilfe_Beschriftung = "Hilfe:";
inline constexpr const char* Hilfedatei = "Hilfe.txt";
inline constexpr const char* Eintrag_vorhanden = "Die Webseite befindet sich bereits in der Liste";
inline constexpr const char* Eintrag_nicht_speicherbar =
    "Dieser Eintrag kann nicht gespeichert werden: Er enthält einen Zeilenumbruch oder ein "
    "Anführungszeichen vor einem Komma.\r\n\r\nEintrag: ";
inline constexpr const char* Eintrag_nicht_gespeichert =
    "Der Eintrag konnte nicht in der Datei gespeichert werden. Er gilt nur, bis das Programm "
    "beendet wird.\r\n\r\nDatei: ";
inline constexpr const char* Liste_nicht_gespeichert =
    "Die Liste konnte nicht gespeichert werden. Der Eintrag bleibt erhalten.\r\n\r\nDatei: ";
inline constexpr const char* Einstellung_nicht_gespeichert =
    "Die Einstellung konnte nicht in der Datei gespeichert werden. Sie gilt nur, bis das "
    "Programm beendet wird.\r\n\r\nDatei: ";
inline constexpr const char* Autostart_nicht_geaendert =
    "Der Start mit Windows konnte nicht geändert werden. Möglicherweise verbietet eine "
    "Richtlinie den Zugriff auf die Registrierung.\r\n\r\nSchlüssel: "
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* Liste_nicht_gelesen =
    "Die Datei dieser Liste konnte nicht gelesen werden, oder sie enthält einen Eintrag, den "
    "Windows in ANSI nicht darstellen kann. Damit keiner ihrer Einträge verloren geht, wird "
    "die Liste nicht geändert.\r\n\r\nDatei: ";
inline constexpr const char* Laeuft_ohne_Antwort =
    "Zuklapper läuft in diesem Ordner bereits, antwortet aber nicht. Beenden Sie es im "
    "Task-Manager (Strg+Umschalt+Esc, „zuklapper.exe“, „Task beenden“) und starten Sie es "
    "danach erneut.\r\n\r\nOrdner: ";
inline constexpr const char* Laeuft_ausser_Reichweite =
    "Zuklapper läuft in diesem Ordner bereits, unter einem anderen Benutzer, in einer anderen "
    "Sitzung oder mit Administratorrechten. Mit den Dateien eines Ordners arbeitet immer nur "
    "ein Zuklapper.\r\n\r\nOrdner: ";
inline constexpr const char* Aktuelle_Browser_einschalten =
    "Dieses Fenster gehört zu Chrome, Edge, Firefox oder einem verwandten Browser. Solange "
    "\"Chrome, Edge und Firefox\" im Menü ausgeschaltet ist, schließen Einträge aus diesem "
    "Fenster nichts.\r\n\r\nSoll Zuklapper diese Browser jetzt einbeziehen?";

inline constexpr const char* Webbrowser_Titel = "Zuklapper Webbrowserauswahl";
inline constexpr const char* Webbrowser_verwenden = "Diesen Webbrowser verwenden";
inline constexpr const char* Ungueltiges_Webbrowserfenster = "Ungültiges Webbrowser-Fenster";
inline constexpr const char* Webbrowser_vorhanden =
    "Dieser Webbrowser befindet sich bereits in der Liste";
inline constexpr const char* Bezeichnung_nicht_speicherbar =
    "Diese Bezeichnung kann nicht gespeichert werden: Sie enthält ein Anführungszeichen oder "
    "einen Zeilenumbruch.\r\n\r\nBezeichnung: ";
inline constexpr const char* Bezeichnung_nicht_gespeichert =
    "Die Bezeichnung konnte nicht in der Datei gespeichert werden. Sie steht nur in der Liste, "
    "bis das Programm beendet wird.\r\n\r\nDatei: ";
inline constexpr const char* Zeiten_nicht_lesbar =
    "In config.ini ist dieser Teil des Werts „Zeiten“ im Abschnitt [Sperrzeiten] nicht lesbar: "
    "„%1“\r\n\r\nDamit keine Sperre verloren geht, schließt Zuklapper die Seiten der Listen "
    "jetzt zu jeder Zeit. Ändern Sie die Zeile in der Datei oder unter „Sperrzeiten …“ im Menü "
    "des Symbols.\r\n\r\nDatei: ";
inline constexpr const char* Eintrag_der_Organisation =
    "Diesen Eintrag gibt Ihre Organisation vor, durch eine Gruppenrichtlinie oder ihren "
    "Listenordner. Er lässt sich hier nicht löschen, Ihre eigenen Einträge schon.";
inline constexpr const char* Richtlinien_nicht_verwendbar =
    "Diese Vorgaben Ihrer Organisation (Gruppenrichtlinie) kann Zuklapper nicht verwenden. Es "
    "nimmt, was es verwenden kann, und schließt weiter. Die Zeilen stehen auch in "
    "Protokoll.txt.\r\n\r\n";
inline constexpr const char* Protokoll_nicht_schreibbar =
    "Zuklapper kann nicht in Protokoll.txt schreiben. Geschlossen wird weiter, aufgeschrieben "
    "nicht: ";

inline constexpr const char* Sperrzeiten_Titel = "Sperrzeiten";
inline constexpr const char* Sperrzeiten_Hinweis =
    "Zu den dunklen Zeiten schließt Zuklapper die eingetragenen Seiten. Ein Klick schaltet "
    "eine halbe Stunde um; mit gedrückter Maustaste ziehen Sie über viele auf einmal.";
inline constexpr const char* Als_Zeile = "Als Zeile (leer: immer):";
inline constexpr const char* Zeile_unlesbar = "Dieser Teil der Zeile ist nicht lesbar: ";
inline constexpr const char* Zeile_Beispiel =
    "\r\n\r\nSo sieht eine Zeile aus: Mo-Fr 08:00-12:00 13:00-17:30; Sa 10:00-12:00";
inline constexpr const char* Keine_Sperrzeit =
    "Ohne eine einzige Sperrzeit würde Zuklapper keine Seite mehr schließen. Markieren Sie "
    "mindestens eine halbe Stunde.";
inline constexpr const char* Zeile_zu_lang =
    "Diese Zeile ist zu lang: config.ini nimmt höchstens 999 Zeichen auf. Fassen Sie einzelne "
    "halbe Stunden zu längeren Zeiten zusammen.";

} // namespace zk::texte
