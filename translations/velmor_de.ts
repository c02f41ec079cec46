<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutView</name>
    <message>
        <source>v0.1 alpha</source>
        <translation>v0.1 Alpha</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Try &apos;velmor --help&apos; for the options.</source>
        <translation>Die Optionen zeigt &apos;velmor --help&apos;.</translation>
    </message>
    <message>
        <source>A quiet pause now and then, with one line to sit with.
Without options, starts Velmor or brings its window forward. Qt&apos;s own options,
such as -platform xcb, are accepted too; see velmor(1).</source>
        <translation>Hin und wieder eine stille Pause, mit einer Zeile zum Verweilen.
Ohne Optionen startet Velmor oder holt sein Fenster nach vorn. Auch Qts eigene
Optionen wie -platform xcb werden angenommen; siehe velmor(1).</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Diese Hilfe zeigen und beenden.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Die Version zeigen und beenden.</translation>
    </message>
    <message>
        <source>Show a pause now.</source>
        <translation>Jetzt eine Pause zeigen.</translation>
    </message>
    <message>
        <source>Pause the session.</source>
        <translation>Die Sitzung pausieren.</translation>
    </message>
    <message>
        <source>Resume the session.</source>
        <translation>Die Sitzung fortsetzen.</translation>
    </message>
    <message>
        <source>Quit the running Velmor.</source>
        <translation>Das laufende Velmor beenden.</translation>
    </message>
    <message>
        <source>Start without opening the window, as at login; does nothing if Velmor runs.</source>
        <translation>Ohne Fenster starten, wie bei der Anmeldung; tut nichts, wenn Velmor schon läuft.</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Unerwartetes Argument: %1</translation>
    </message>
    <message>
        <source>Give one of --now, --pause, --resume, --quit and --background.</source>
        <translation>Nur eine von --now, --pause, --resume, --quit und --background angeben.</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>Removed an unfinished write: %1</source>
        <translation>Unvollständig geschriebene Datei entfernt: %1</translation>
    </message>
    <message>
        <source>cannot create folder %1</source>
        <translation>Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>too many levels of symbolic links</source>
        <translation>zu viele Ebenen symbolischer Links</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>the file is gone</source>
        <translation>die Datei ist nicht mehr da</translation>
    </message>
    <message>
        <source>larger than %1 bytes</source>
        <translation>größer als %1 Bytes</translation>
    </message>
    <message>
        <source>%1 could not be read (%2); it is kept aside before it is next saved</source>
        <translation>%1: Lesen fehlgeschlagen (%2); die Datei wird vor dem nächsten Speichern beiseitegelegt</translation>
    </message>
    <message>
        <source>%1 not saved: the unreadable file could not be kept aside (%2)</source>
        <translation>%1 nicht gespeichert: Die unlesbare Datei ließ sich nicht beiseitelegen (%2)</translation>
    </message>
    <message>
        <source>%1: the unreadable file was kept aside as %2</source>
        <translation>%1: Die unlesbare Datei wurde als %2 beiseitegelegt</translation>
    </message>
    <message>
        <source>%1 could not be saved: %2</source>
        <translation>%1: Speichern fehlgeschlagen: %2</translation>
    </message>
</context>
<context>
    <name>GeneralSettingsView</name>
    <message>
        <source>Open settings</source>
        <translation>Einstellungen öffnen</translation>
    </message>
    <message>
        <source>Ctrl+,</source>
        <translation>Strg+,</translation>
    </message>
</context>
<context>
    <name>HomeView</name>
    <message>
        <source>Good morning</source>
        <translation>Guten Morgen</translation>
    </message>
    <message>
        <source>Good afternoon</source>
        <translation>Guten Tag</translation>
    </message>
    <message>
        <source>Good evening</source>
        <translation>Guten Abend</translation>
    </message>
    <message>
        <source>now</source>
        <translation>jetzt</translation>
    </message>
    <message>
        <source>yesterday</source>
        <translation>gestern</translation>
    </message>
    <message>
        <source>last week</source>
        <translation>letzte Woche</translation>
    </message>
    <message>
        <source>last month</source>
        <translation>letzten Monat</translation>
    </message>
    <message>
        <source>last year</source>
        <translation>letztes Jahr</translation>
    </message>
    <message>
        <source>1 second ago</source>
        <translation>vor 1 Sekunde</translation>
    </message>
    <message numerus="yes">
        <source>%n seconds ago</source>
        <translation>
            <numerusform>vor %n Sekunde</numerusform>
            <numerusform>vor %n Sekunden</numerusform>
        </translation>
    </message>
    <message>
        <source>1 minute ago</source>
        <translation>vor 1 Minute</translation>
    </message>
    <message numerus="yes">
        <source>%n minutes ago</source>
        <translation>
            <numerusform>vor %n Minute</numerusform>
            <numerusform>vor %n Minuten</numerusform>
        </translation>
    </message>
    <message>
        <source>1 hour ago</source>
        <translation>vor 1 Stunde</translation>
    </message>
    <message numerus="yes">
        <source>%n hours ago</source>
        <translation>
            <numerusform>vor %n Stunde</numerusform>
            <numerusform>vor %n Stunden</numerusform>
        </translation>
    </message>
    <message>
        <source>1 day ago</source>
        <translation>vor 1 Tag</translation>
    </message>
    <message numerus="yes">
        <source>%n days ago</source>
        <translation>
            <numerusform>vor %n Tag</numerusform>
            <numerusform>vor %n Tagen</numerusform>
        </translation>
    </message>
    <message>
        <source>1 week ago</source>
        <translation>vor 1 Woche</translation>
    </message>
    <message numerus="yes">
        <source>%n weeks ago</source>
        <translation>
            <numerusform>vor %n Woche</numerusform>
            <numerusform>vor %n Wochen</numerusform>
        </translation>
    </message>
    <message>
        <source>1 month ago</source>
        <translation>vor 1 Monat</translation>
    </message>
    <message numerus="yes">
        <source>%n months ago</source>
        <translation>
            <numerusform>vor %n Monat</numerusform>
            <numerusform>vor %n Monaten</numerusform>
        </translation>
    </message>
    <message>
        <source>1 year ago</source>
        <translation>vor 1 Jahr</translation>
    </message>
    <message numerus="yes">
        <source>%n years ago</source>
        <translation>
            <numerusform>vor %n Jahr</numerusform>
            <numerusform>vor %n Jahren</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LibraryFile</name>
    <message>
        <source>no such file</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message numerus="yes">
        <source>Import skipped %n prompt(s) with an empty id, an empty text or an id used earlier in the file</source>
        <translation>
            <numerusform>Beim Import wurde %n Impuls ohne ID, ohne Text oder mit einer schon früher in der Datei verwendeten ID übersprungen</numerusform>
            <numerusform>Beim Import wurden %n Impulse ohne ID, ohne Text oder mit einer schon früher in der Datei verwendeten ID übersprungen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LibraryShelf</name>
    <message>
        <source>Yours</source>
        <translation>Deine</translation>
    </message>
    <message>
        <source>1 prompt across %1 categories + yours</source>
        <translation>1 Impuls in %1 Kategorien + deine</translation>
    </message>
    <message>
        <source>1 prompt across %1 categories</source>
        <translation>1 Impuls in %1 Kategorien</translation>
    </message>
    <message numerus="yes">
        <source>%n prompts across %1 categories + yours</source>
        <translation>
            <numerusform>%n Impuls in %1 Kategorien + deine</numerusform>
            <numerusform>%n Impulse in %1 Kategorien + deine</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n prompts across %1 categories</source>
        <translation>
            <numerusform>%n Impuls in %1 Kategorien</numerusform>
            <numerusform>%n Impulse in %1 Kategorien</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MenuModel</name>
    <message>
        <source>Velmor — Paused</source>
        <translation>Velmor — Pausiert</translation>
    </message>
    <message>
        <source>Resume Velmor</source>
        <translation>Velmor fortsetzen</translation>
    </message>
    <message>
        <source>Velmor — Active</source>
        <translation>Velmor — Aktiv</translation>
    </message>
    <message>
        <source>Pause Velmor</source>
        <translation>Velmor pausieren</translation>
    </message>
</context>
<context>
    <name>PromptRow</name>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Edit this prompt</source>
        <translation>Diesen Impuls bearbeiten</translation>
    </message>
    <message>
        <source>Sit with this</source>
        <translation>Verweilen</translation>
    </message>
    <message>
        <source>Sit with this prompt for every overlay</source>
        <translation>Bei jeder Pause bei diesem Impuls verweilen</translation>
    </message>
    <message>
        <source>Let go</source>
        <translation>Loslassen</translation>
    </message>
    <message>
        <source>Stop sitting with this prompt</source>
        <translation>Nicht mehr bei diesem Impuls verweilen</translation>
    </message>
    <message>
        <source>Favorite</source>
        <translation>Favorit</translation>
    </message>
    <message>
        <source>Add to favorites</source>
        <translation>Zu den Favoriten hinzufügen</translation>
    </message>
    <message>
        <source>Unfavorite</source>
        <translation>Kein Favorit</translation>
    </message>
    <message>
        <source>Remove from favorites</source>
        <translation>Aus den Favoriten entfernen</translation>
    </message>
    <message>
        <source>Set aside</source>
        <translation>Beiseitelegen</translation>
    </message>
    <message>
        <source>Set this prompt aside</source>
        <translation>Diesen Impuls beiseitelegen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Delete this prompt</source>
        <translation>Diesen Impuls löschen</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>This desktop does not let programs set global shortcuts. Bind velmor --now to a key in your desktop&apos;s keyboard settings instead.</source>
        <translation>Diese Arbeitsumgebung lässt Programme keine globalen Tastenkürzel festlegen. Lege stattdessen velmor --now in den Tastatureinstellungen deiner Arbeitsumgebung auf eine Taste.</translation>
    </message>
    <message>
        <source>Record Shortcut</source>
        <translation>Tastenkürzel aufnehmen</translation>
    </message>
    <message>
        <source>Press Shortcut</source>
        <translation>Tastenkürzel drücken</translation>
    </message>
    <message>
        <source>This keyboard shortcut cannot be used as it&apos;s already used by the “%1” menu item.</source>
        <translation>Dieses Tastenkürzel kann nicht verwendet werden, da es schon vom Menüeintrag „%1“ belegt ist.</translation>
    </message>
    <message>
        <source>This keyboard shortcut cannot be used as it&apos;s already used by a system-wide keyboard shortcut.</source>
        <translation>Dieses Tastenkürzel kann nicht verwendet werden, da es schon als systemweites Tastenkürzel belegt ist.</translation>
    </message>
    <message>
        <source>Most system-wide keyboard shortcuts can be changed in your desktop&apos;s keyboard settings.</source>
        <translation>Die meisten systemweiten Tastenkürzel lassen sich in den Tastatureinstellungen deiner Arbeitsumgebung ändern.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Use Anyway</source>
        <translation>Trotzdem verwenden</translation>
    </message>
</context>
<context>
    <name>SetAsideSection</name>
    <message>
        <source>Restore</source>
        <translation>Zurückholen</translation>
    </message>
    <message>
        <source>Restore </source>
        <translation>Zurückholen </translation>
    </message>
    <message numerus="yes">
        <source>%n set aside</source>
        <translation>
            <numerusform>%n beiseitegelegt</numerusform>
            <numerusform>%n beiseitegelegt</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>not a JSON object</source>
        <translation>kein JSON-Objekt</translation>
    </message>
</context>
<context>
    <name>ShortcutDescription</name>
    <message>
        <source>Key %1</source>
        <translation>Taste %1</translation>
    </message>
</context>
<context>
    <name>Sidebar</name>
    <message>
        <source>Home</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>Theme</source>
        <translation>Thema</translation>
    </message>
    <message>
        <source>Content</source>
        <translation>Inhalte</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Klang</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>Pausiert</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Aktiv</translation>
    </message>
    <message>
        <source>Velmor is paused. Tap to start.</source>
        <translation>Velmor ist pausiert. Zum Starten klicken.</translation>
    </message>
    <message>
        <source>Velmor is active. Tap to pause.</source>
        <translation>Velmor ist aktiv. Zum Pausieren klicken.</translation>
    </message>
</context>
<context>
    <name>SoundSettingsView</name>
    <message>
        <source>Tap to select this sound</source>
        <translation>Klicken, um diesen Klang zu wählen</translation>
    </message>
</context>
<context>
    <name>ThemeSettingsView</name>
    <message>
        <source>%1 theme, %2</source>
        <translation>Thema %1, %2</translation>
    </message>
    <message>
        <source>Tap to select this theme</source>
        <translation>Klicken, um dieses Thema zu wählen</translation>
    </message>
</context>
<context>
    <name>TimerSettingsView</name>
    <message>
        <source>hours</source>
        <translation>Stunden</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>Minuten</translation>
    </message>
</context>
<context>
    <name>velmor::AboutScreen</name>
    <message>
        <source>A caring friend who shows up, sits with you,
and invites you to simply be.</source>
        <translation>Ein fürsorglicher Freund, der vorbeikommt, bei dir sitzt
und dich einlädt, einfach da zu sein.</translation>
    </message>
    <message>
        <source>Every so often, your screen goes dark.
A single line of text fades in.
Then you return.</source>
        <translation>Ab und zu wird dein Bildschirm dunkel.
Eine einzelne Zeile wird eingeblendet.
Dann kehrst du zurück.</translation>
    </message>
    <message>
        <source>This is an early version. Your experience matters.</source>
        <translation>Dies ist eine frühe Version. Deine Erfahrung zählt.</translation>
    </message>
    <message>
        <source>Share your thoughts</source>
        <translation>Teile deine Gedanken</translation>
    </message>
    <message>
        <source>Made with presence.</source>
        <translation>Mit Präsenz gemacht.</translation>
    </message>
</context>
<context>
    <name>velmor::CategoryDetailView</name>
    <message>
        <source>Nothing here yet.</source>
        <translation>Noch nichts hier.</translation>
    </message>
</context>
<context>
    <name>velmor::ContentLibraryScreen</name>
    <message>
        <source>Your library</source>
        <translation>Deine Bibliothek</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Velmor library (*.velmor *.json)</source>
        <translation>Velmor-Bibliothek (*.velmor *.json)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Save your Velmor library</source>
        <translation>Deine Velmor-Bibliothek speichern</translation>
    </message>
    <message>
        <source>Choose a Velmor library file</source>
        <translation>Eine Velmor-Bibliotheksdatei wählen</translation>
    </message>
</context>
<context>
    <name>velmor::GeneralScreen</name>
    <message>
        <source>Trigger velmoring</source>
        <translation>Velmor-Moment auslösen</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Erscheinungsbild</translation>
    </message>
    <message>
        <source>Velmor darkens</source>
        <translation>Velmor verdunkelt</translation>
    </message>
    <message>
        <source>Startup</source>
        <translation>Anmeldung</translation>
    </message>
    <message>
        <source>Launch Velmor at login</source>
        <translation>Velmor bei der Anmeldung starten</translation>
    </message>
    <message>
        <source>Calls</source>
        <translation>Anrufe</translation>
    </message>
    <message>
        <source>Pause during calls and recordings</source>
        <translation>Während Anrufen und Aufnahmen pausieren</translation>
    </message>
    <message>
        <source>Velmor will wait to arrive when your microphone is in use or you have a meeting on your calendar.</source>
        <translation>Velmor wartet mit seiner Ankunft, solange dein Mikrofon in Gebrauch ist oder in deinem Kalender ein Termin ansteht.</translation>
    </message>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>You can also trigger velmoring from the menu bar — click the leaf and select &quot;Velmor now.&quot;</source>
        <translation>Du kannst einen Velmor-Moment auch in der Menüleiste auslösen — klicke auf das Blatt und wähle „Velmor jetzt“.</translation>
    </message>
</context>
<context>
    <name>velmor::HomeScreen</name>
    <message>
        <source>Velmor is with you</source>
        <translation>Velmor ist bei dir</translation>
    </message>
    <message>
        <source>Sitting with this</source>
        <translation>Du verweilst hierbei</translation>
    </message>
    <message>
        <source>Let go</source>
        <translation>Loslassen</translation>
    </message>
    <message>
        <source>Every so often, your screen will go dark.</source>
        <translation>Ab und zu wird dein Bildschirm dunkel.</translation>
    </message>
    <message>
        <source>A single line of text will fade in. Sit with it for a moment — then return whenever you&apos;re ready.</source>
        <translation>Eine einzelne Zeile wird eingeblendet. Verweile einen Moment bei ihr — und kehre zurück, wann immer du bereit bist.</translation>
    </message>
    <message>
        <source>Your first moment of velmor is on its way.</source>
        <translation>Dein erster Velmor-Moment ist unterwegs.</translation>
    </message>
    <message>
        <source>— %1</source>
        <translation>— %1</translation>
    </message>
</context>
<context>
    <name>velmor::InlineEditor</name>
    <message>
        <source>Prompt text</source>
        <translation>Text des Impulses</translation>
    </message>
    <message>
        <source>Attribution (optional)</source>
        <translation>Herkunft (optional)</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>velmor::IntervalInput</name>
    <message>
        <source>unit</source>
        <translation>Einheit</translation>
    </message>
</context>
<context>
    <name>velmor::MainWindow</name>
    <message>
        <source>Open settings</source>
        <translation>Einstellungen öffnen</translation>
    </message>
</context>
<context>
    <name>velmor::PromptListScreen</name>
    <message>
        <source>Back to your library</source>
        <translation>Zurück zu deiner Bibliothek</translation>
    </message>
</context>
<context>
    <name>velmor::PromptRow</name>
    <message>
        <source>Favorite</source>
        <translation>Favorit</translation>
    </message>
</context>
<context>
    <name>velmor::ShelfRowButton</name>
    <message numerus="yes">
        <source>%1, %n prompts</source>
        <translation>
            <numerusform>%1, %n Impuls</numerusform>
            <numerusform>%1, %n Impulse</numerusform>
        </translation>
    </message>
    <message>
        <source>+ Add</source>
        <translation>+ Hinzufügen</translation>
    </message>
    <message>
        <source>%1, 1 prompt</source>
        <translation>%1, 1 Impuls</translation>
    </message>
    <message>
        <source>%1, 1 favorite</source>
        <translation>%1, 1 Favorit</translation>
    </message>
    <message numerus="yes">
        <source>%1, %n favorites</source>
        <translation>
            <numerusform>%1, %n Favorit</numerusform>
            <numerusform>%1, %n Favoriten</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velmor::SoundScreen</name>
    <message>
        <source>Arrival sound</source>
        <translation>Klang zur Ankunft</translation>
    </message>
    <message>
        <source>Play %1</source>
        <translation>%1 abspielen</translation>
    </message>
    <message>
        <source>Departure sound</source>
        <translation>Klang zum Abschied</translation>
    </message>
    <message>
        <source>Play a softer sound when the overlay fades away</source>
        <translation>Einen sanfteren Klang spielen, wenn die Pause ausklingt</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
</context>
<context>
    <name>velmor::SyncSettingsBlock</name>
    <message>
        <source>Sync</source>
        <translation>Synchronisation</translation>
    </message>
    <message>
        <source>Choose folder...</source>
        <translation>Ordner wählen …</translation>
    </message>
    <message>
        <source>Stop syncing</source>
        <translation>Synchronisation beenden</translation>
    </message>
    <message>
        <source>Shares the theme, sound, fixed interval, your prompts, favourites and set-aside prompts with your other computers through a folder that a sync program such as Syncthing or Nextcloud keeps equal.</source>
        <translation>Teilt das Thema, den Klang, das feste Intervall, deine Impulse, Favoriten und beiseitegelegten Impulse mit deinen anderen Computern, über einen Ordner, den ein Sync-Programm wie Syncthing oder Nextcloud gleich hält.</translation>
    </message>
    <message>
        <source>Choose a sync folder</source>
        <translation>Einen Sync-Ordner wählen</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
</context>
<context>
    <name>velmor::ThemeScreen</name>
    <message>
        <source>Overlay Theme</source>
        <translation>Thema der Pause</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Preview %1</source>
        <translation>Vorschau von %1</translation>
    </message>
</context>
<context>
    <name>velmor::ThemeTile</name>
    <message>
        <source>Be here.</source>
        <translation>Sei hier.</translation>
    </message>
</context>
<context>
    <name>velmor::TimerScreen</name>
    <message>
        <source>Interval mode</source>
        <translation>Art des Intervalls</translation>
    </message>
    <message>
        <source>Arrive every</source>
        <translation>Ankunft alle</translation>
    </message>
    <message>
        <source>Arrive between</source>
        <translation>Ankunft zwischen</translation>
    </message>
    <message>
        <source>Shortest interval</source>
        <translation>Kürzestes Intervall</translation>
    </message>
    <message>
        <source>Longest interval</source>
        <translation>Längstes Intervall</translation>
    </message>
    <message>
        <source>and</source>
        <translation>und</translation>
    </message>
    <message>
        <source>Velmor will arrive at this interval while active. Press any key or click to return when it appears.</source>
        <translation>Solange Velmor aktiv ist, kommt es in diesem Abstand. Wenn es erscheint, kehrst du mit einer beliebigen Taste oder einem Klick zurück.</translation>
    </message>
</context>
<context>
    <name>velmor::TrayMenu</name>
    <message>
        <source>Velmor now</source>
        <translation>Velmor jetzt</translation>
    </message>
    <message>
        <source>Open Velmor</source>
        <translation>Velmor öffnen</translation>
    </message>
    <message>
        <source>Quit Velmor</source>
        <translation>Velmor beenden</translation>
    </message>
</context>
<context>
    <name>velmor::UserLibrary</name>
    <message>
        <source>User library</source>
        <translation>Eigene Bibliothek</translation>
    </message>
</context>
<context>
    <name>velmor::YourPromptsView</name>
    <message>
        <source>Yours</source>
        <translation>Deine</translation>
    </message>
    <message>
        <source>Your prompts will appear here.</source>
        <translation>Deine Impulse erscheinen hier.</translation>
    </message>
    <message>
        <source>Add something you love...</source>
        <translation>Füge etwas hinzu, das du liebst …</translation>
    </message>
    <message>
        <source>Attribution (optional)</source>
        <translation>Herkunft (optional)</translation>
    </message>
</context>
</TS>
