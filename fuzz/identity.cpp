// The identification (answer to "FN0") and the device information (answer
// to "7N0"), decoded from whatever bytes arrive.

#include "fuzz/Require.h"
#include "link/CommandTable.h"
#include "link/DeviceIdentity.h"
#include "link/Frame.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray answer(reinterpret_cast<const char *>(data), int(size));

    const CommandFormat &identify = CommandTable::format(Request::Identify);
    Frame::check(answer, identify, CommandTable::code(Request::Identify));
    const QString text = DeviceIdentity::identificationText(answer);
    // One character per byte of the field, cut at the first zero.
    require(text.size() <= DeviceIdentity::TextSize, "identification longer than its field");
    require(!text.contains(QChar(0)), "identification holds a zero");
    const QString item = DeviceIdentity::displayItem(QStringLiteral("COM3"), text);
    require(item.startsWith(QLatin1String("COM3")), "display item starts with the port");
    if (DeviceIdentity::qualifies(text))
        require(text.contains(QLatin1String("583")), "qualifies without the model number");

    const CommandFormat &info = CommandTable::format(Request::DeviceInfo);
    Frame::check(answer, info, CommandTable::code(Request::DeviceInfo));
    const DeviceInfo d = DeviceIdentity::deviceInfo(answer);
    require(d.softwareVersNumber.size() <= 8 && d.softwareVersDate.size() <= 11
                && d.serialNumber.size() <= 8,
            "device information text longer than its field");
    require(d.OSFvers.size() >= 5, "version text");
    return 0;
}
