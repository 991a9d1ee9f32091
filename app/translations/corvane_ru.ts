<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>Checksums and message digests of files and text, in nine algorithms.</source>
        <translation>Контрольные суммы и хеши файлов и текста по девяти алгоритмам.</translation>
    </message>
    <message>
        <source>About Ostrel Corvane</source>
        <translation>О программе Ostrel Corvane</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Версия %1</translation>
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
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Hashing a file</source>
        <translation>Хеширование файла</translation>
    </message>
    <message>
        <source>File to hash:</source>
        <translation>Хешируемый файл:</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Обзор</translation>
    </message>
    <message>
        <source>Algorithm:</source>
        <translation>Алгоритм:</translation>
    </message>
    <message>
        <source>Hash file</source>
        <translation>Хеш файла</translation>
    </message>
    <message>
        <source>Output hash</source>
        <translation>Хеш-сумма</translation>
    </message>
    <message>
        <source>Hash string</source>
        <translation>Хеш строки</translation>
    </message>
    <message>
        <source>String to hash:</source>
        <translation>Хешируемая строка:</translation>
    </message>
    <message>
        <source>more software</source>
        <translation>Другое ПО</translation>
    </message>
    <message>
        <source>&amp;About Ostrel...</source>
        <translation>&amp;О программе Ostrel...</translation>
    </message>
    <message>
        <source>All Files(*.) (*)</source>
        <translation>Все файлы(*.) (*)</translation>
    </message>
</context>
</TS>
