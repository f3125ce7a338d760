<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>LocalCore</name>
    <message>
        <source>Program is closed.</source>
        <translation>Программа закрыта.</translation>
    </message>
    <message>
        <source>Smooth steering is finished</source>
        <translation>Плавная подстройка завершена</translation>
    </message>
    <message>
        <source>Smooth steering is started</source>
        <translation>Плавная подстройка начата</translation>
    </message>
    <message>
        <source>Smooth steering is aborted by the user</source>
        <translation>Плавная подстройка прервана оператором</translation>
    </message>
    <message>
        <source>Smooth steering is stopped: the instrument is not connected</source>
        <translation>Плавная подстройка остановлена: прибор не подключён</translation>
    </message>
    <message>
        <source>Phase correction is finished</source>
        <translation>Коррекция фазы завершена</translation>
    </message>
    <message>
        <source>Phase correction is started</source>
        <translation>Коррекция фазы начата</translation>
    </message>
</context>
</TS>
