<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>AccessPolicy</name>
    <message>
        <source>administrator</source>
        <translation>администратор</translation>
    </message>
    <message>
        <source>supervisor</source>
        <translation>руководитель</translation>
    </message>
    <message>
        <source>operator</source>
        <translation>оператор</translation>
    </message>
    <message>
        <source>watcher</source>
        <translation>наблюдатель</translation>
    </message>
</context>
<context>
    <name>ClientHistory</name>
    <message>
        <source>this range holds too much to send; choose a shorter one</source>
        <translation>в этом интервале слишком много данных для передачи; выберите интервал короче</translation>
    </message>
</context>
<context>
    <name>ClientSession</name>
    <message>
        <source>No hello within %1 s.</source>
        <translation>Нет приветствия в течение %1 с.</translation>
    </message>
    <message>
        <source>it does not read what the service sends</source>
        <translation>он не читает то, что посылает служба</translation>
    </message>
    <message>
        <source>Client %1 dropped: %2</source>
        <translation>Клиент %1 отключён: %2</translation>
    </message>
    <message>
        <source>more than %1 requests refused in a row</source>
        <translation>отклонено более %1 запросов подряд</translation>
    </message>
    <message>
        <source>More than %1 requests a second.</source>
        <translation>Более %1 запросов в секунду.</translation>
    </message>
    <message>
        <source>The first message must be hello: %1</source>
        <translation>Первым сообщением должно быть hello: %1</translation>
    </message>
    <message>
        <source>The first message must be hello.</source>
        <translation>Первым сообщением должно быть hello.</translation>
    </message>
    <message>
        <source>There is no message &quot;%1&quot; in protocol version %2.</source>
        <translation>В версии протокола %2 нет сообщения &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Client %1 refused: it speaks protocol version %2, the service version %3</source>
        <translation>Клиент %1 отклонён: его версия протокола %2, версия службы %3</translation>
    </message>
    <message>
        <source>This service speaks protocol version %1, the window version %2.</source>
        <translation>Версия протокола службы %1, версия окна %2.</translation>
    </message>
    <message>
        <source>%1 logged in</source>
        <translation>%1: вход выполнен</translation>
    </message>
    <message>
        <source>Logins from %1 locked for %2 s after %3 failed attempts</source>
        <translation>Вход с %1 заблокирован на %2 с после %3 неудачных попыток</translation>
    </message>
    <message>
        <source>Commands need an operator login.</source>
        <translation>Для команд нужен вход оператора.</translation>
    </message>
    <message>
        <source>The account %1 (%2) may not do this.</source>
        <translation>Учётной записи %1 (%2) это не разрешено.</translation>
    </message>
    <message>
        <source>%1 commands of this window are waiting already.</source>
        <translation>Уже ждут выполнения %1 команд этого окна.</translation>
    </message>
    <message>
        <source>Commands from %1 refused: %2 of its commands wait for the instrument already.</source>
        <translation>Команды от %1 отклонены: уже %2 его команд ждут прибора.</translation>
    </message>
    <message>
        <source>Data entry is not possible. Wait %1 s.</source>
        <translation>Ввод данных невозможен. Подождите %1 с.</translation>
    </message>
    <message>
        <source>Login or password are not correct.</source>
        <translation>Неверный логин или пароль.</translation>
    </message>
    <message>
        <source>The account %1 may not do this.</source>
        <translation>Учётной записи %1 это не разрешено.</translation>
    </message>
    <message>
        <source>Command %1 from %2</source>
        <translation>Команда %1 от %2</translation>
    </message>
    <message>
        <source>Smooth steering aborted by %1</source>
        <translation>Плавная подстройка прервана: %1</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Prints the instrument's state as the running service sees it and exits: 0 when the instrument answers, 1 when the service answers but the instrument does not, 2 when no service answers within 5 s. Without ADDRESS it asks the service of the work folder; ADDRESS host:port asks one over the network (wss:// off the loopback), a ws:// or wss:// URL is taken as it is, and a path names a local socket.</source>
        <translation>Выводит состояние прибора, как его видит работающая служба, и завершается: 0, если прибор отвечает, 1, если служба отвечает, а прибор нет, 2, если за 5 с не отвечает ни одна служба. Без ADDRESS обращается к службе рабочей папки; ADDRESS host:port обращается к службе по сети (wss:// вне петлевого адреса), URL ws:// или wss:// берётся как есть, путь означает локальный сокет.</translation>
    </message>
    <message>
        <source>With --status: prints JSON instead of text.</source>
        <translation>С --status: выводит JSON вместо текста.</translation>
    </message>
    <message>
        <source>With --attach or --status: the service's address.</source>
        <translation>С --attach или --status: адрес службы.</translation>
    </message>
    <message>
        <source>--json goes with --status.</source>
        <translation>--json задаётся вместе с --status.</translation>
    </message>
    <message>
        <source>--status asks the running service; give it alone.</source>
        <translation>--status обращается к работающей службе; задавайте его отдельно.</translation>
    </message>
</context>
<context>
    <name>CommandRules</name>
    <message>
        <source>A channel number must be 1 to 4, or 0 for none.</source>
        <translation>Номер канала должен быть от 1 до 4 или 0, если канала нет.</translation>
    </message>
    <message>
        <source>Backup %1 is chosen without backup %2.</source>
        <translation>Резерв %1 выбран без резерва %2.</translation>
    </message>
    <message>
        <source>Channel %1 is chosen twice.</source>
        <translation>Канал %1 выбран дважды.</translation>
    </message>
    <message>
        <source>A phase correction of 0 changes nothing.</source>
        <translation>Коррекция фазы на 0 ничего не меняет.</translation>
    </message>
    <message>
        <source>The Phase offset value range is:
from %1 to %2 ns.</source>
        <translation>Допустимые значения смещения фазы:
от %1 до %2 нс.</translation>
    </message>
    <message>
        <source>A phase correction of %1 ps lasts %2 s, not %3 s.</source>
        <translation>Коррекция фазы на %1 пс длится %2 с, а не %3 с.</translation>
    </message>
    <message>
        <source>The Frequency offset value range is:
from -1.0e-8 to -1.0e-18, 0, from 1.0e-18 to 1.0e-8.</source>
        <translation>Допустимые значения смещения частоты:
от -1.0e-8 до -1.0e-18, 0, от 1.0e-18 до 1.0e-8.</translation>
    </message>
    <message>
        <source>The phase shift of a smooth correction must lie between -1 s and 1 s.</source>
        <translation>Сдвиг фазы плавной коррекции должен быть от -1 с до 1 с.</translation>
    </message>
    <message>
        <source>The step interval must be 10 to 1000000 s.</source>
        <translation>Интервал шага должен быть от 10 до 1000000 с.</translation>
    </message>
    <message>
        <source>The number of steps must be 1 to 1000000.</source>
        <translation>Число шагов должно быть от 1 до 1000000.</translation>
    </message>
    <message>
        <source>The time shift must be less than one day; whole days go into the date shift.</source>
        <translation>Сдвиг времени должен быть меньше суток; целые сутки задаются сдвигом даты.</translation>
    </message>
    <message>
        <source>The instrument's clock takes the years %1 to %2 only.</source>
        <translation>Часы прибора принимают только годы с %1 по %2.</translation>
    </message>
    <message>
        <source>A qualification interval must be 600 to 65535 s.</source>
        <translation>Интервал квалификации должен быть от 600 до 65535 с.</translation>
    </message>
    <message>
        <source>The Drift offset value range is:
from -1.0e-11 to -1.0e-18, 0, from 1.0e-18 to 1.0e-11.</source>
        <translation>Допустимые значения дрейфа:
от -1.0e-11 до -1.0e-18, 0, от 1.0e-18 до 1.0e-11.</translation>
    </message>
    <message>
        <source>Frequency difference limit value should be between 1e-13 and 1e-8.</source>
        <translation>Предел разности частот должен быть в пределах от 1e-13 до 1e-8.</translation>
    </message>
    <message>
        <source>The mode must be averaging (1) or switching (2).</source>
        <translation>Режим должен быть усреднением (1) или переключением (2).</translation>
    </message>
    <message>
        <source>The reference channel must be 1 to 4.</source>
        <translation>Опорный канал должен быть от 1 до 4.</translation>
    </message>
    <message>
        <source>AVE should be between -1.0e-9 and 1.0e-9 with step 1.0e-21.</source>
        <translation>AVE должно быть в пределах от -1.0e-9 до 1.0e-9 с шагом 1.0e-21.</translation>
    </message>
    <message>
        <source>AVE is either on (1) or off (0).</source>
        <translation>AVE либо включено (1), либо выключено (0).</translation>
    </message>
    <message>
        <source>There is no command %1.</source>
        <translation>Команды %1 нет.</translation>
    </message>
</context>
<context>
    <name>DeviceCommands</name>
    <message>
        <source>The instrument's clock takes the years 2000 to 2255 only.</source>
        <translation>Часы прибора принимают только годы с 2000 по 2255.</translation>
    </message>
</context>
<context>
    <name>JsonReader</name>
    <message>
        <source>not a whole number from %1 to %2</source>
        <translation>не целое число от %1 до %2</translation>
    </message>
    <message>
        <source>not a whole number from 0 to 18446744073709551615</source>
        <translation>не целое число от 0 до 18446744073709551615</translation>
    </message>
    <message>
        <source>not a single-precision number</source>
        <translation>не число одинарной точности</translation>
    </message>
    <message>
        <source>not a number</source>
        <translation>не число</translation>
    </message>
    <message>
        <source>not true or false</source>
        <translation>не true и не false</translation>
    </message>
    <message>
        <source>not a text</source>
        <translation>не текст</translation>
    </message>
    <message>
        <source>longer than %1 characters</source>
        <translation>длиннее %1 символов</translation>
    </message>
    <message>
        <source>holds a control character</source>
        <translation>содержит управляющий символ</translation>
    </message>
    <message>
        <source>not a UTC time such as 2026-01-07T15:45:00.000Z</source>
        <translation>не время UTC вида 2026-01-07T15:45:00.000Z</translation>
    </message>
    <message>
        <source>not a list</source>
        <translation>не список</translation>
    </message>
    <message>
        <source>a list of %1 elements is needed</source>
        <translation>нужен список из %1 элементов</translation>
    </message>
    <message>
        <source>a list of %1 to %2 elements is needed</source>
        <translation>нужен список из %1–%2 элементов</translation>
    </message>
    <message>
        <source>not an object</source>
        <translation>не объект</translation>
    </message>
    <message>
        <source>not a field of this message</source>
        <translation>такого поля в этом сообщении нет</translation>
    </message>
    <message>
        <source>element %1 out of range</source>
        <translation>элемент %1 вне допустимых значений</translation>
    </message>
    <message>
        <source>element %1: %2</source>
        <translation>элемент %1: %2</translation>
    </message>
    <message>
        <source>not one printable character</source>
        <translation>не один печатный символ</translation>
    </message>
    <message>
        <source>not one of detect, cmdState, adjState, varState</source>
        <translation>не detect, cmdState, adjState или varState</translation>
    </message>
    <message>
        <source>not a colour name of lower-case letters</source>
        <translation>не название цвета строчными буквами</translation>
    </message>
    <message>
        <source>not a number between 0 and 1</source>
        <translation>не число между 0 и 1</translation>
    </message>
</context>
<context>
    <name>LocalChannel</name>
    <message>
        <source>a message is larger than %1 bytes</source>
        <translation>сообщение больше %1 байт</translation>
    </message>
</context>
<context>
    <name>ProtocolMessage</name>
    <message>
        <source>the message is larger than %1 bytes</source>
        <translation>сообщение больше %1 байт</translation>
    </message>
    <message>
        <source>the message is no JSON: %1 at byte %2</source>
        <translation>сообщение не в формате JSON: %1 в байте %2</translation>
    </message>
    <message>
        <source>the message is no JSON object</source>
        <translation>сообщение не объект JSON</translation>
    </message>
    <message>
        <source>the message has no &quot;type&quot; of up to %1 letters</source>
        <translation>в сообщении нет поля &quot;type&quot; длиной до %1 букв</translation>
    </message>
</context>
<context>
    <name>RemoteHistory</name>
    <message>
        <source>No connection to the service</source>
        <translation>Нет связи со службой</translation>
    </message>
    <message>
        <source>the service sent a piece without readings</source>
        <translation>служба прислала часть без показаний</translation>
    </message>
</context>
<context>
    <name>ServiceConnection</name>
    <message>
        <source>The service sent a message larger than %1 bytes.</source>
        <translation>Служба прислала сообщение больше %1 байт.</translation>
    </message>
    <message>
        <source>The service at %1 shows no certificate.</source>
        <translation>Служба на %1 не предъявляет сертификат.</translation>
    </message>
    <message>
        <source>The service at %1 shows another certificate than the one accepted before (SHA-256 %2). If it was not replaced on purpose, someone may be in between.</source>
        <translation>Служба на %1 предъявляет не тот сертификат, что был принят ранее (SHA-256 %2). Если его не заменяли намеренно, соединение может быть перехвачено.</translation>
    </message>
    <message>
        <source>The certificate of the service at %1 is not accepted.</source>
        <translation>Сертификат службы на %1 не принят.</translation>
    </message>
    <message>
        <source>The service's message cannot be read: %1</source>
        <translation>Сообщение службы не читается: %1</translation>
    </message>
    <message>
        <source>the first message is not a welcome</source>
        <translation>первое сообщение не welcome</translation>
    </message>
    <message>
        <source>The service speaks protocol version %1, this window version %2.</source>
        <translation>Версия протокола службы %1, версия этого окна %2.</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>неизвестно</translation>
    </message>
    <message>
        <source>there is no message &quot;%1&quot; in protocol version %2</source>
        <translation>в версии протокола %2 нет сообщения &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>ServiceHost</name>
    <message>
        <source>%1 commands are waiting for the instrument already; the command is refused.</source>
        <translation>Уже %1 команд ждут прибора; команда отклонена.</translation>
    </message>
    <message>
        <source>Commands from %1 refused: %2 wait for the instrument already.</source>
        <translation>Команды от %1 отклонены: уже %2 ждут прибора.</translation>
    </message>
    <message>
        <source>Command %1 from %2 is done</source>
        <translation>Команда %1 от %2 выполнена</translation>
    </message>
    <message>
        <source>Command %1 from %2 failed</source>
        <translation>Команда %1 от %2 не выполнена</translation>
    </message>
    <message>
        <source>; the journal is in %1 on %2</source>
        <translation>; журнал в %1 на %2</translation>
    </message>
    <message>
        <source>No smooth steering runs.</source>
        <translation>Плавная подстройка не выполняется.</translation>
    </message>
    <message>
        <source>Smooth steering is aborted by %1</source>
        <translation>Плавная подстройка прервана: %1</translation>
    </message>
</context>
<context>
    <name>ServiceServer</name>
    <message>
        <source>The service's local socket %1 cannot be opened: %2</source>
        <translation>Локальный сокет службы %1 не открывается: %2</translation>
    </message>
    <message>
        <source>The service cannot listen on %1 port %2: %3</source>
        <translation>Служба не может принимать соединения на %1, порт %2: %3</translation>
    </message>
    <message>
        <source>Too many connections have not said hello.</source>
        <translation>Слишком много соединений без приветствия.</translation>
    </message>
    <message>
        <source>The service has %1 clients already; try again later.</source>
        <translation>У службы уже %1 клиентов; попробуйте позже.</translation>
    </message>
    <message>
        <source>Client %1 attached</source>
        <translation>Клиент %1 подключён</translation>
    </message>
</context>
<context>
    <name>ServiceSettings</name>
    <message>
        <source>Service/Port &quot;%1&quot; is not a port number from 1 to 65535: the service is reached through its local socket only.</source>
        <translation>Service/Port &quot;%1&quot; не номер порта от 1 до 65535: служба доступна только через локальный сокет.</translation>
    </message>
    <message>
        <source>Service/Address &quot;%1&quot; is not an IP address: the service is reached through its local socket only.</source>
        <translation>Service/Address &quot;%1&quot; не IP-адрес: служба доступна только через локальный сокет.</translation>
    </message>
    <message>
        <source>TLS needs both Service/Certificate and Service/Key: the service is reached through its local socket only.</source>
        <translation>Для TLS нужны Service/Certificate и Service/Key: служба доступна только через локальный сокет.</translation>
    </message>
    <message>
        <source>Service/Address %1 is reachable from other computers, so it needs TLS (Service/Certificate and Service/Key): the service is reached through its local socket only.</source>
        <translation>Service/Address %1 доступен с других компьютеров, поэтому нужен TLS (Service/Certificate и Service/Key): служба доступна только через локальный сокет.</translation>
    </message>
</context>
<context>
    <name>StatusCommand</name>
    <message>
        <source>No service answers at %1%2</source>
        <translation>Служба не отвечает: %1%2</translation>
    </message>
</context>
<context>
    <name>TlsFiles</name>
    <message>
        <source>&quot;%1&quot; is no readable file of up to 1 MB</source>
        <translation>&quot;%1&quot; не читаемый файл размером до 1 МБ</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds no PEM certificate</source>
        <translation>в &quot;%1&quot; нет сертификата PEM</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds no unencrypted PEM private key (RSA or EC)</source>
        <translation>в &quot;%1&quot; нет незашифрованного закрытого ключа PEM (RSA или EC)</translation>
    </message>
</context>
<context>
    <name>WebSocketChannel</name>
    <message>
        <source>binary messages are no part of the protocol</source>
        <translation>двоичных сообщений в протоколе нет</translation>
    </message>
</context>
</TS>
