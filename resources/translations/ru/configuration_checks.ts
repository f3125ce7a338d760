<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>AccountsFile</name>
    <message>
        <source>The accounts file &quot;%1&quot; is not used: %2. Only the built-in account can log in.</source>
        <translation>Файл учётных записей «%1» не используется: %2. Войти можно только со встроенной учётной записью.</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>это не обычный файл</translation>
    </message>
    <message>
        <source>it is larger than 1 MB</source>
        <translation>он больше 1 МБ</translation>
    </message>
</context>
<context>
    <name>WriteWatch</name>
    <message>
        <source>Cannot write to the folder &quot;%1&quot;: %2</source>
        <translation>Невозможно записать в папку «%1»: %2</translation>
    </message>
    <message>
        <source>Writing &quot;%1&quot; works again</source>
        <translation>Запись «%1» снова работает</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2</source>
        <translation>Невозможно записать «%1»: %2</translation>
    </message>
    <message>
        <source>the write did not complete</source>
        <translation>запись не завершилась</translation>
    </message>
</context>
</TS>
