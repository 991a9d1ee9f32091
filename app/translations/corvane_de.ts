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
</TS>
