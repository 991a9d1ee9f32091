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
<context>
    <name>DialogTexts</name>
    <message>
        <source>Stop</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Состояние</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Ход выполнения</translation>
    </message>
    <message>
        <source>the string</source>
        <translation>строки</translation>
    </message>
    <message>
        <source>Hashing %1 with %2…</source>
        <translation>Хеширование %1 (%2)…</translation>
    </message>
    <message>
        <source>%1 of %2, 1 byte</source>
        <translation>%1 для %2, 1 байт</translation>
    </message>
    <message>
        <source>%1 of %2, %3 bytes</source>
        <translation>%1 для %2, байт: %3</translation>
    </message>
    <message>
        <source>%1 (earlier input)</source>
        <translation>%1 (прежние данные)</translation>
    </message>
    <message>
        <source>No file given</source>
        <translation>Файл не указан</translation>
    </message>
    <message>
        <source>No such file: %1</source>
        <translation>Нет такого файла: %1</translation>
    </message>
    <message>
        <source>%1 is a folder</source>
        <translation>%1 — это папка</translation>
    </message>
    <message>
        <source>No permission to read %1</source>
        <translation>Нет прав на чтение %1</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Не удаётся открыть %1: %2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Не удаётся прочитать %1: %2</translation>
    </message>
    <message>
        <source>Reading %1 failed after %2 MB</source>
        <translation>Чтение %1 прервалось после %2 МБ</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Остановлено</translation>
    </message>
    <message>
        <source>Stopped after %1 MB</source>
        <translation>Остановлено после %1 МБ</translation>
    </message>
    <message>
        <source>No algorithm selected</source>
        <translation>Алгоритм не выбран</translation>
    </message>
    <message>
        <source>The page is not installed: %1</source>
        <translation>Страница не установлена: %1</translation>
    </message>
    <message>
        <source>Nothing could open %1</source>
        <translation>Не удалось открыть %1</translation>
    </message>
    <message>
        <source>%1 MB  %2 MB/s</source>
        <translation>%1 МБ  %2 МБ/с</translation>
    </message>
    <message>
        <source>%1%  %2 MB/s</source>
        <translation>%1%  %2 МБ/с</translation>
    </message>
    <message>
        <source>%1  %2 left</source>
        <translation>%1  осталось %2</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 с</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Копировать</translation>
    </message>
    <message>
        <source>Copy output hash</source>
        <translation>Копировать хеш-сумму</translation>
    </message>
    <message>
        <source>Copied to the clipboard: %1</source>
        <translation>Скопировано в буфер обмена: %1</translation>
    </message>
</context>
<context>
    <name>SumListTexts</name>
    <message>
        <source>Checking %1</source>
        <translation>Проверка %1</translation>
    </message>
    <message>
        <source>Hashing 1 file</source>
        <translation>Хеширование 1 файла</translation>
    </message>
    <message>
        <source>Hashing %1 files</source>
        <translation>Хеширование файлов: %1</translation>
    </message>
    <message>
        <source>Checked files</source>
        <translation>Проверяемые файлы</translation>
    </message>
    <message>
        <source>Hashed files</source>
        <translation>Хешируемые файлы</translation>
    </message>
    <message>
        <source>Summary</source>
        <translation>Итог</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Имя</translation>
    </message>
    <message>
        <source>Algorithm</source>
        <translation>Алгоритм</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Состояние</translation>
    </message>
    <message>
        <source>Digest</source>
        <translation>Хеш</translation>
    </message>
    <message>
        <source>waiting</source>
        <translation>ожидает</translation>
    </message>
    <message>
        <source>checking %1%</source>
        <translation>проверка, %1%</translation>
    </message>
    <message>
        <source>hashing %1%</source>
        <translation>хеширование, %1%</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>done</source>
        <translation>готово</translation>
    </message>
    <message>
        <source>FAILED</source>
        <translation>НЕ СОВПАЛО</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>нет файла</translation>
    </message>
    <message>
        <source>unreadable: %1</source>
        <translation>не читается: %1</translation>
    </message>
    <message>
        <source>unreadable</source>
        <translation>не читается</translation>
    </message>
    <message>
        <source>improper line</source>
        <translation>неверная строка</translation>
    </message>
    <message>
        <source>not checked</source>
        <translation>не проверено</translation>
    </message>
    <message>
        <source>not hashed</source>
        <translation>не хешировано</translation>
    </message>
    <message>
        <source>%1 OK</source>
        <translation>OK: %1</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>не совпало: %1</translation>
    </message>
    <message>
        <source>%1 missing</source>
        <translation>нет файла: %1</translation>
    </message>
    <message>
        <source>%1 unreadable</source>
        <translation>не читается: %1</translation>
    </message>
    <message>
        <source>1 improper line</source>
        <translation>неверных строк: 1</translation>
    </message>
    <message>
        <source>%1 improper lines</source>
        <translation>неверных строк: %1</translation>
    </message>
    <message>
        <source>%1 not checked</source>
        <translation>не проверено: %1</translation>
    </message>
    <message>
        <source>%1 to go</source>
        <translation>осталось: %1</translation>
    </message>
    <message>
        <source>%1 hashed</source>
        <translation>хешировано: %1</translation>
    </message>
    <message>
        <source>%1 not hashed</source>
        <translation>не хешировано: %1</translation>
    </message>
    <message>
        <source>The list could not be read: %1</source>
        <translation>Не удалось прочитать список: %1</translation>
    </message>
    <message>
        <source>%1 is named for an algorithm Ostrel Corvane does not compute; not checked</source>
        <translation>%1 назван по алгоритму, который Ostrel Corvane не вычисляет; не проверено</translation>
    </message>
    <message>
        <source>No properly formatted checksum lines found</source>
        <translation>Правильных строк с контрольными суммами не найдено</translation>
    </message>
    <message>
        <source>Saved 1 line to %1</source>
        <translation>1 строка сохранена в %1</translation>
    </message>
    <message>
        <source>Saved %1 lines to %2</source>
        <translation>Сохранено строк в %2: %1</translation>
    </message>
    <message>
        <source>Could not save %1: %2</source>
        <translation>Не удалось сохранить %1: %2</translation>
    </message>
    <message>
        <source>Show &amp;failures only</source>
        <translation>Только &amp;ошибки</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Копировать</translation>
    </message>
    <message>
        <source>Copy &amp;all</source>
        <translation>Копировать &amp;все</translation>
    </message>
    <message>
        <source>Copy lines</source>
        <translation>Копировать строки</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Сохранить...</translation>
    </message>
    <message>
        <source>Save checksum list</source>
        <translation>Сохранить список контрольных сумм</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>С&amp;топ</translation>
    </message>
    <message>
        <source>Check a&amp;gain</source>
        <translation>&amp;Проверить снова</translation>
    </message>
    <message>
        <source>Hash a&amp;gain</source>
        <translation>&amp;Хешировать снова</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>A&amp;lgorithm:</source>
        <translation>А&amp;лгоритм:</translation>
    </message>
    <message>
        <source>F&amp;ormat:</source>
        <translation>&amp;Формат:</translation>
    </message>
    <message>
        <source>GNU</source>
        <translation>GNU</translation>
    </message>
    <message>
        <source>BSD tags</source>
        <translation>Теги BSD</translation>
    </message>
    <message>
        <source>SFV</source>
        <translation>SFV</translation>
    </message>
    <message>
        <source>(line %1)</source>
        <translation>(строка %1)</translation>
    </message>
</context>
<context>
    <name>VerifyTexts</name>
    <message>
        <source>Expected hash:</source>
        <translation>Ожидается:</translation>
    </message>
    <message>
        <source>Sum file...</source>
        <translation>Список...</translation>
    </message>
    <message>
        <source>Choose a sum file</source>
        <translation>Выбрать файл контрольных сумм</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Все файлы (*)</translation>
    </message>
    <message>
        <source>Verification</source>
        <translation>Проверка</translation>
    </message>
    <message>
        <source>the Expected hash field</source>
        <translation>поля «Ожидается»</translation>
    </message>
    <message>
        <source>the clipboard</source>
        <translation>буфера обмена</translation>
    </message>
    <message>
        <source>Matches: %1, from %2.</source>
        <translation>Совпадает: %1, из %2.</translation>
    </message>
    <message>
        <source>Signature not checked.</source>
        <translation>Подпись не проверена.</translation>
    </message>
    <message>
        <source>The line names %1.</source>
        <translation>В строке указан %1.</translation>
    </message>
    <message>
        <source>Expected hash not recognised: not a digest of a known length or a checksum line.</source>
        <translation>Ожидаемый хеш не распознан: это не хеш известной длины и не строка контрольной суммы.</translation>
    </message>
    <message>
        <source>Cannot read %1.</source>
        <translation>Не удаётся прочитать %1.</translation>
    </message>
    <message>
        <source>Give the file first: %1 lists no single digest.</source>
        <translation>Сначала укажите файл: в %1 не один хеш.</translation>
    </message>
    <message>
        <source>%1 lists no digest for %2.</source>
        <translation>В %1 нет хеша для %2.</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 и %2</translation>
    </message>
    <message>
        <source>Does not match: %1, from %2; first difference at character %3.</source>
        <translation>Не совпадает: %1, из %2; первое различие в символе %3.</translation>
    </message>
    <message>
        <source>The clipboard differs; the sum file decides.</source>
        <translation>Буфер обмена расходится; решает файл сумм.</translation>
    </message>
    <message>
        <source>It shows the file undamaged, not untampered.</source>
        <translation>Это значит, что файл не повреждён, но не что он не подменён.</translation>
    </message>
    <message>
        <source>It shows the string unchanged, not untampered.</source>
        <translation>Это значит, что строка не изменена, но не что она не подменена.</translation>
    </message>
    <message>
        <source>Also tried: %1.</source>
        <translation>Проверены также: %1.</translation>
    </message>
    <message>
        <source>Expected %1, got %2.</source>
        <translation>Ожидалось %1, получено %2.</translation>
    </message>
    <message>
        <source>%1 could not be read (%2).</source>
        <translation>Не удалось прочитать %1 (%2).</translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 — не обычный файл.</translation>
    </message>
    <message>
        <source>%1 was read only to its first MiB, which does not list the file.</source>
        <translation>%1 прочитан только до первого МиБ, где файла нет.</translation>
    </message>
    <message>
        <source>No sum file beside %1 lists it.</source>
        <translation>Ни один файл контрольных сумм рядом с %1 его не содержит.</translation>
    </message>
    <message>
        <source>%1. %2</source>
        <translation>%1. %2</translation>
    </message>
    <message>
        <source>The Expected hash field holds the line for %1: not compared with the string.</source>
        <translation>В поле «Ожидается» строка для %1: со строкой не сравнивается.</translation>
    </message>
    <message>
        <source>%1 did not match; trying %2…</source>
        <translation>%1 не совпадает; проверяется %2…</translation>
    </message>
</context>
</TS>
