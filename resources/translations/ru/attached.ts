<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>StatusDisplay</name>
    <message>
        <source>No connection to the service</source>
        <translation>Нет связи со службой</translation>
    </message>
</context>
<context>
    <name>AttachedView</name>
    <message>
        <source>service on %1</source>
        <translation>служба на %1</translation>
    </message>
    <message>
        <source>Channel names are set on the service's computer.</source>
        <translation>Названия каналов задаются на компьютере службы.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Attach to service…</source>
        <translation>Подключиться к службе…</translation>
    </message>
</context>
<context>
    <name>AttachDialog</name>
    <message>
        <source>The attached window cannot be started.</source>
        <translation>Не удаётся открыть окно, подключённое к службе.</translation>
    </message>
    <message>
        <source>Attach to service</source>
        <translation>Подключение к службе</translation>
    </message>
    <message>
        <source>Address of the service (host:port). Empty: the service of this work folder.</source>
        <translation>Адрес службы (хост:порт). Пусто: служба этой рабочей папки.</translation>
    </message>
</context>
<context>
    <name>ServiceAddress</name>
    <message>
        <source>the local service</source>
        <translation>локальная служба</translation>
    </message>
    <message>
        <source>The service address is too long.</source>
        <translation>Адрес службы слишком длинный.</translation>
    </message>
    <message>
        <source>"%1" is no service address: give host:port, e.g. labpc:7583.</source>
        <translation>«%1» не адрес службы: укажите хост:порт, например labpc:7583.</translation>
    </message>
</context>
<context>
    <name>AttachOffer</name>
    <message>
        <source>A service runs there. Open a window attached to it?</source>
        <translation>В ней работает служба. Открыть окно, подключённое к ней?</translation>
    </message>
</context>
<context>
    <name>RemoteCore</name>
    <message>
        <source>No connection to the service.</source>
        <translation>Нет связи со службой.</translation>
    </message>
    <message>
        <source>No connection to the service: trying to attach again.</source>
        <translation>Нет связи со службой: повторное подключение.</translation>
    </message>
    <message>
        <source>No connection to the service (%1): trying to attach.</source>
        <translation>Нет связи со службой (%1): подключение.</translation>
    </message>
    <message>
        <source>No connection to the service: the command is not sent.</source>
        <translation>Нет связи со службой: команда не отправлена.</translation>
    </message>
    <message>
        <source>Commands need an operator login: the command is not sent.</source>
        <translation>Для команд нужен вход оператора: команда не отправлена.</translation>
    </message>
    <message>
        <source>%1 commands wait for the login already: this one is not sent.</source>
        <translation>Входа ожидают уже %1 команд: эта не отправлена.</translation>
    </message>
    <message>
        <source>The service refuses the login: data entry is not possible. Wait %1 s.</source>
        <translation>Служба отклонила вход: ввод данных невозможен. Подождите %1 с.</translation>
    </message>
    <message>
        <source>The service refuses the login: login or password are not correct. Number of attempts: %1</source>
        <translation>Служба отклонила вход: неверный логин или пароль. Осталось попыток: %1</translation>
    </message>
    <message>
        <source>The service refuses the command.</source>
        <translation>Служба отклонила команду.</translation>
    </message>
    <message>
        <source>The service chooses the port: change it on the service's computer.</source>
        <translation>Порт выбирает служба: измените его на компьютере службы.</translation>
    </message>
    <message>
        <source>The service imports parameter logs: run the import on the service's computer.</source>
        <translation>Журналы параметров импортирует служба: запустите импорт на компьютере службы.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Opens a window on the instrument of a running service, at ADDRESS (host:port, a ws:// or wss:// URL, or the path of a local socket such as an SSH tunnel's) or, without it, the service of the work folder. Commands need an operator login; the service checks them.</source>
        <translation>Открывает окно на приборе работающей службы по адресу ADDRESS (хост:порт, URL ws:// или wss:// либо путь локального сокета, например туннеля SSH) или, без него, службы рабочей папки. Для команд нужен вход оператора; служба проверяет их.</translation>
    </message>
    <message>
        <source>With --attach: the service's host:port.</source>
        <translation>С --attach: хост:порт службы.</translation>
    </message>
    <message>
        <source>Give either --service or --attach, not both.</source>
        <translation>Укажите либо --service, либо --attach, но не оба.</translation>
    </message>
    <message>
        <source>--attach opens a window; give the history's commands without it.</source>
        <translation>--attach открывает окно; команды истории указывайте без него.</translation>
    </message>
</context>
<context>
    <name>AttachedWindow</name>
    <message>
        <source>The service at %1 shows a certificate that no authority vouches for:
%2
SHA-256 %3

Accept it for this service from now on?</source>
        <translation>Служба %1 предъявляет сертификат, не заверенный ни одним центром:
%2
SHA-256 %3

Принимать его для этой службы и впредь?</translation>
    </message>
</context>
</TS>
