<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>PortFailure</name>
    <message>
        <source>Cannot open %1: permission denied, and no group may both read and write it. The administrator can give it to a group such as &quot;dialout&quot; with a udev rule and put the user in that group.</source>
        <translation>Не удаётся открыть %1: доступ запрещён, и ни одной группе не разрешены и чтение, и запись. Администратор может передать порт группе, например «dialout», правилом udev и включить пользователя в эту группу.</translation>
    </message>
    <message>
        <source>Cannot open %1: permission denied. The user must be in the group &quot;%2&quot; that owns the port (sudo usermod -aG %2 $USER) and log in again.</source>
        <translation>Не удаётся открыть %1: доступ запрещён. Пользователь должен входить в группу «%2», которой принадлежит порт (sudo usermod -aG %2 $USER), и войти в систему заново.</translation>
    </message>
    <message>
        <source>Cannot open %1: permission denied. The port belongs to the group &quot;root&quot;; the administrator can give it to a group such as &quot;dialout&quot; with a udev rule and put the user in that group.</source>
        <translation>Не удаётся открыть %1: доступ запрещён. Порт принадлежит группе «root»; администратор может передать его группе, например «dialout», правилом udev и включить пользователя в эту группу.</translation>
    </message>
    <message>
        <source>Cannot open %1: the port is busy, another program holds it.</source>
        <translation>Не удаётся открыть %1: порт занят другой программой.</translation>
    </message>
    <message>
        <source>Cannot open %1: there is no such port now.</source>
        <translation>Не удаётся открыть %1: такого порта сейчас нет.</translation>
    </message>
    <message>
        <source>Cannot open %1.</source>
        <translation>Не удаётся открыть %1.</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Не удаётся открыть %1: %2</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>доступ запрещён</translation>
    </message>
    <message>
        <source>busy</source>
        <translation>занят</translation>
    </message>
    <message>
        <source>not present</source>
        <translation>отсутствует</translation>
    </message>
    <message>
        <source>cannot be opened</source>
        <translation>не открывается</translation>
    </message>
</context>
<context>
    <name>PortDetails</name>
    <message>
        <source>serial number %1</source>
        <translation>серийный номер %1</translation>
    </message>
    <message>
        <source>USB %1</source>
        <translation>USB %1</translation>
    </message>
    <message>
        <source>The system tells nothing more of this port.</source>
        <translation>Больше система ничего не сообщает об этом порте.</translation>
    </message>
    <message>
        <source>Stable name: %1</source>
        <translation>Постоянное имя: %1</translation>
    </message>
</context>
</TS>
