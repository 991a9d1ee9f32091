<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>Checksums and message digests of files and text, in nine algorithms.</source>
        <translation>Prüfsummen und Hashwerte von Dateien und Texten, mit neun Algorithmen.</translation>
    </message>
    <message>
        <source>About Ostrel Corvane</source>
        <translation>Über Ostrel Corvane</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>CTarnovelDlg</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Hashing a file</source>
        <translation>Hashwert einer Datei</translation>
    </message>
    <message>
        <source>File to hash:</source>
        <translation>Zu hashende Datei:</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>Algorithm:</source>
        <translation>Algorithmus:</translation>
    </message>
    <message>
        <source>Hash file</source>
        <translation>Datei hashen</translation>
    </message>
    <message>
        <source>Output hash</source>
        <translation>Hashwert</translation>
    </message>
    <message>
        <source>Hash string</source>
        <translation>Text hashen</translation>
    </message>
    <message>
        <source>String to hash:</source>
        <translation>Zu hashender Text:</translation>
    </message>
    <message>
        <source>more software</source>
        <translation>Mehr Software</translation>
    </message>
    <message>
        <source>&amp;About Ostrel...</source>
        <translation>Ü&amp;ber Ostrel...</translation>
    </message>
    <message>
        <source>All Files(*.) (*)</source>
        <translation>Alle Dateien(*.) (*)</translation>
    </message>
</context>
<context>
    <name>DialogTexts</name>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>the string</source>
        <translation>dem Text</translation>
    </message>
    <message>
        <source>Hashing %1 with %2…</source>
        <translation>%2 von %1 wird berechnet…</translation>
    </message>
    <message>
        <source>%1 of %2, 1 byte</source>
        <translation>%1 von %2, 1 Byte</translation>
    </message>
    <message>
        <source>%1 of %2, %3 bytes</source>
        <translation>%1 von %2, %3 Bytes</translation>
    </message>
    <message>
        <source>%1 (earlier input)</source>
        <translation>%1 (frühere Eingabe)</translation>
    </message>
    <message>
        <source>No file given</source>
        <translation>Keine Datei angegeben</translation>
    </message>
    <message>
        <source>No such file: %1</source>
        <translation>Datei nicht gefunden: %1</translation>
    </message>
    <message>
        <source>%1 is a folder</source>
        <translation>%1 ist ein Ordner</translation>
    </message>
    <message>
        <source>No permission to read %1</source>
        <translation>Keine Leseberechtigung für %1</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Reading %1 failed after %2 MB</source>
        <translation>Lesen von %1 nach %2 MB fehlgeschlagen</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <source>Stopped after %1 MB</source>
        <translation>Nach %1 MB angehalten</translation>
    </message>
    <message>
        <source>No algorithm selected</source>
        <translation>Kein Algorithmus ausgewählt</translation>
    </message>
    <message>
        <source>The page is not installed: %1</source>
        <translation>Die Seite ist nicht installiert: %1</translation>
    </message>
    <message>
        <source>Nothing could open %1</source>
        <translation>%1 konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>%1 MB  %2 MB/s</source>
        <translation>%1 MB  %2 MB/s</translation>
    </message>
    <message>
        <source>%1%  %2 MB/s</source>
        <translation>%1 %  %2 MB/s</translation>
    </message>
    <message>
        <source>%1  %2 left</source>
        <translation>%1  noch %2</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Copy output hash</source>
        <translation>Hashwert kopieren</translation>
    </message>
    <message>
        <source>Copied to the clipboard: %1</source>
        <translation>In die Zwischenablage kopiert: %1</translation>
    </message>
</context>
<context>
    <name>SumListTexts</name>
    <message>
        <source>Checking %1</source>
        <translation>%1 wird geprüft</translation>
    </message>
    <message>
        <source>Hashing 1 file</source>
        <translation>1 Datei wird gehasht</translation>
    </message>
    <message>
        <source>Hashing %1 files</source>
        <translation>%1 Dateien werden gehasht</translation>
    </message>
    <message>
        <source>Checked files</source>
        <translation>Geprüfte Dateien</translation>
    </message>
    <message>
        <source>Hashed files</source>
        <translation>Gehashte Dateien</translation>
    </message>
    <message>
        <source>Summary</source>
        <translation>Zusammenfassung</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Algorithm</source>
        <translation>Algorithmus</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>Digest</source>
        <translation>Hashwert</translation>
    </message>
    <message>
        <source>waiting</source>
        <translation>wartet</translation>
    </message>
    <message>
        <source>checking %1%</source>
        <translation>wird geprüft, %1 %</translation>
    </message>
    <message>
        <source>hashing %1%</source>
        <translation>wird gehasht, %1 %</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>done</source>
        <translation>fertig</translation>
    </message>
    <message>
        <source>FAILED</source>
        <translation>FEHLER</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>fehlt</translation>
    </message>
    <message>
        <source>unreadable: %1</source>
        <translation>nicht lesbar: %1</translation>
    </message>
    <message>
        <source>unreadable</source>
        <translation>nicht lesbar</translation>
    </message>
    <message>
        <source>improper line</source>
        <translation>keine Prüfsummenzeile</translation>
    </message>
    <message>
        <source>not checked</source>
        <translation>nicht geprüft</translation>
    </message>
    <message>
        <source>not hashed</source>
        <translation>nicht gehasht</translation>
    </message>
    <message>
        <source>%1 OK</source>
        <translation>OK: %1</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>fehlerhaft: %1</translation>
    </message>
    <message>
        <source>%1 missing</source>
        <translation>fehlend: %1</translation>
    </message>
    <message>
        <source>%1 unreadable</source>
        <translation>nicht lesbar: %1</translation>
    </message>
    <message>
        <source>1 improper line</source>
        <translation>keine Prüfsummenzeilen: 1</translation>
    </message>
    <message>
        <source>%1 improper lines</source>
        <translation>keine Prüfsummenzeilen: %1</translation>
    </message>
    <message>
        <source>%1 not checked</source>
        <translation>nicht geprüft: %1</translation>
    </message>
    <message>
        <source>%1 to go</source>
        <translation>ausstehend: %1</translation>
    </message>
    <message>
        <source>%1 hashed</source>
        <translation>gehasht: %1</translation>
    </message>
    <message>
        <source>%1 not hashed</source>
        <translation>nicht gehasht: %1</translation>
    </message>
    <message>
        <source>The list could not be read: %1</source>
        <translation>Die Liste konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>%1 is named for an algorithm Ostrel Corvane does not compute; not checked</source>
        <translation>%1 ist nach einem Algorithmus benannt, den Ostrel Corvane nicht berechnet; nicht geprüft</translation>
    </message>
    <message>
        <source>No properly formatted checksum lines found</source>
        <translation>Keine gültigen Prüfsummenzeilen gefunden</translation>
    </message>
    <message>
        <source>Saved 1 line to %1</source>
        <translation>1 Zeile in %1 gespeichert</translation>
    </message>
    <message>
        <source>Saved %1 lines to %2</source>
        <translation>%1 Zeilen in %2 gespeichert</translation>
    </message>
    <message>
        <source>Could not save %1: %2</source>
        <translation>%1 konnte nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <source>Show &amp;failures only</source>
        <translation>Nur &amp;Fehler zeigen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy &amp;all</source>
        <translation>&amp;Alle kopieren</translation>
    </message>
    <message>
        <source>Copy lines</source>
        <translation>Zeilen kopieren</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>Save checksum list</source>
        <translation>Prüfsummenliste speichern</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>A&amp;nhalten</translation>
    </message>
    <message>
        <source>Check a&amp;gain</source>
        <translation>&amp;Erneut prüfen</translation>
    </message>
    <message>
        <source>Hash a&amp;gain</source>
        <translation>&amp;Erneut hashen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>A&amp;lgorithm:</source>
        <translation>A&amp;lgorithmus:</translation>
    </message>
    <message>
        <source>F&amp;ormat:</source>
        <translation>F&amp;ormat:</translation>
    </message>
    <message>
        <source>GNU</source>
        <translation>GNU</translation>
    </message>
    <message>
        <source>BSD tags</source>
        <translation>BSD-Tags</translation>
    </message>
    <message>
        <source>SFV</source>
        <translation>SFV</translation>
    </message>
    <message>
        <source>(line %1)</source>
        <translation>(Zeile %1)</translation>
    </message>
</context>
<context>
    <name>VerifyTexts</name>
    <message>
        <source>Expected hash:</source>
        <translation>Erwartet:</translation>
    </message>
    <message>
        <source>Sum file...</source>
        <translation>Liste...</translation>
    </message>
    <message>
        <source>Choose a sum file</source>
        <translation>Prüfsummendatei wählen</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Verification</source>
        <translation>Prüfung</translation>
    </message>
    <message>
        <source>the Expected hash field</source>
        <translation>dem Feld „Erwartet“</translation>
    </message>
    <message>
        <source>the clipboard</source>
        <translation>der Zwischenablage</translation>
    </message>
    <message>
        <source>Matches: %1, from %2.</source>
        <translation>Stimmt überein: %1, aus %2.</translation>
    </message>
    <message>
        <source>Signature not checked.</source>
        <translation>Signatur nicht geprüft.</translation>
    </message>
    <message>
        <source>The line names %1.</source>
        <translation>Die Zeile nennt %1.</translation>
    </message>
    <message>
        <source>Expected hash not recognised: not a digest of a known length or a checksum line.</source>
        <translation>Erwarteter Hashwert nicht erkannt: weder ein Hashwert bekannter Länge noch eine Prüfsummenzeile.</translation>
    </message>
    <message>
        <source>Cannot read %1.</source>
        <translation>%1 kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Give the file first: %1 lists no single digest.</source>
        <translation>Zuerst die Datei angeben: %1 enthält nicht nur einen Hashwert.</translation>
    </message>
    <message>
        <source>%1 lists no digest for %2.</source>
        <translation>%1 enthält keinen Hashwert für %2.</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>Does not match: %1, from %2; first difference at character %3.</source>
        <translation>Stimmt nicht überein: %1, aus %2; erster Unterschied bei Zeichen %3.</translation>
    </message>
    <message>
        <source>The clipboard differs; the sum file decides.</source>
        <translation>Zwischenablage weicht ab; Summendatei gilt.</translation>
    </message>
    <message>
        <source>It shows the file undamaged, not untampered.</source>
        <translation>Das zeigt die Datei unbeschädigt, nicht unverfälscht.</translation>
    </message>
    <message>
        <source>It shows the string unchanged, not untampered.</source>
        <translation>Das zeigt den Text unverändert, nicht unverfälscht.</translation>
    </message>
    <message>
        <source>Also tried: %1.</source>
        <translation>Auch versucht: %1.</translation>
    </message>
    <message>
        <source>Expected %1, got %2.</source>
        <translation>Erwartet %1, erhalten %2.</translation>
    </message>
    <message>
        <source>%1 could not be read (%2).</source>
        <translation>%1 konnte nicht gelesen werden (%2).</translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 ist keine reguläre Datei.</translation>
    </message>
    <message>
        <source>%1 was read only to its first MiB, which does not list the file.</source>
        <translation>%1 wurde nur bis zu seinem ersten MiB gelesen, das die Datei nicht nennt.</translation>
    </message>
    <message>
        <source>No sum file beside %1 lists it.</source>
        <translation>Keine Prüfsummendatei neben %1 nennt sie.</translation>
    </message>
    <message>
        <source>%1. %2</source>
        <translation>%1. %2</translation>
    </message>
    <message>
        <source>The Expected hash field holds the line for %1: not compared with the string.</source>
        <translation>Das Feld „Erwartet“ enthält die Zeile für %1: nicht mit dem Text verglichen.</translation>
    </message>
    <message>
        <source>%1 did not match; trying %2…</source>
        <translation>%1 stimmt nicht überein; %2 wird versucht…</translation>
    </message>
</context>
</TS>
