#include "FaultPlan.h"

#include "SimText.h"

#include "link/Frame.h"

#include <QStringList>

#include <algorithm>

using SimText::fail;
using SimText::toInteger;

namespace {

struct KindName {
    const char *name;
    FaultKind kind;
};

const KindName kKinds[] = {
    {"silent", FaultKind::Silent},
    {"checksum", FaultKind::Checksum},
    {"nostart", FaultKind::NoStart},
    {"echo", FaultKind::Echo},
    {"garbage", FaultKind::Garbage},
    {"truncate", FaultKind::Truncate},
    {"late", FaultKind::Late},
    {"confirm-other", FaultKind::ConfirmOther},
    {"silent-after", FaultKind::SilentAfter},
};

// Codes whose answers carry a value the instrument confirms.
const char *const kConfirming[] = {"m10", "m20", "m30", "T10"};

bool isKnownCode(const QByteArray &code)
{
    QByteArray probe = code;
    probe.replace('?', '1');
    return probe.size() == 3 && CommandTable::find(probe.constData()) != nullptr;
}

bool confirms(const QByteArray &code)
{
    if (code.isEmpty())
        return true;
    for (const char *c : kConfirming) {
        if (code == c)
            return true;
    }
    return false;
}

void rewriteCrc(QByteArray &answer, const CommandFormat &format)
{
    if (format.crcOffset <= 0 || answer.size() < format.crcOffset + 2)
        return;
    const quint16 crc = Frame::crc16(answer.constData() + 1, format.crcOffset - 1);
    answer[format.crcOffset] = char(crc & 0xFF);
    answer[format.crcOffset + 1] = char(crc >> 8);
}

}  // namespace

bool FaultRule::matches(const QByteArray &code3) const
{
    if (code.isEmpty())
        return true;
    if (code3.size() != 3)
        return false;
    for (int i = 0; i < 3; ++i) {
        const char want = code.at(i);
        const char got = code3.at(i);
        if (want == '?' ? (got < '0' || got > '9') : want != got)
            return false;
    }
    return true;
}

bool FaultPlan::parseOne(const QString &text, FaultRule *rule, QString *error)
{
    QString body = text.trimmed();
    const int star = body.indexOf(QLatin1Char('*'));
    if (star >= 0) {
        if (!toInteger(body.mid(star + 1), 1, 1000000, &rule->times))
            return fail(error, QStringLiteral("bad repeat count in fault '%1'").arg(text));
        body = body.left(star);
    }
    const QStringList parts = body.split(QLatin1Char(':'));
    const QString kindName = parts.first();
    bool known = false;
    for (const KindName &k : kKinds) {
        if (kindName == QLatin1String(k.name)) {
            rule->kind = k.kind;
            known = true;
        }
    }
    if (!known)
        return fail(error, QStringLiteral("unknown fault kind '%1'").arg(kindName));

    QStringList args = parts.mid(1);
    if (rule->kind == FaultKind::SilentAfter) {
        // The count comes last: silent-after:N or silent-after:CODE:N.
        if (args.isEmpty() || args.size() > 2 || !toInteger(args.last(), 0, 1 << 30, &rule->param))
            return fail(error, QStringLiteral("silent-after needs a count of answers: '%1'").arg(text));
        args.removeLast();
    }
    if (!args.isEmpty()) {
        const QString code = args.takeFirst();
        if (code != QLatin1String("all")) {
            rule->code = code.toLatin1();
            if (!isKnownCode(rule->code))
                return fail(error, QStringLiteral("unknown request code '%1'").arg(code));
        }
    }
    switch (rule->kind) {
    case FaultKind::Late:
        rule->param = DefaultLateMs;
        if (!args.isEmpty() && !toInteger(args.takeFirst(), 0, 600000, &rule->param))
            return fail(error, QStringLiteral("late needs a delay of 0..600000 ms: '%1'").arg(text));
        break;
    case FaultKind::Truncate:
        rule->param = -1;
        if (!args.isEmpty() && !toInteger(args.takeFirst(), 0, 1000, &rule->param))
            return fail(error, QStringLiteral("truncate needs a byte count of 0..1000: '%1'").arg(text));
        break;
    case FaultKind::ConfirmOther:
        if (!confirms(rule->code))
            return fail(error, QStringLiteral("confirm-other applies to all, m10, m20, m30 or T10: '%1'").arg(text));
        break;
    default:
        break;
    }
    if (!args.isEmpty())
        return fail(error, QStringLiteral("too many fields in fault '%1'").arg(text));
    return true;
}

bool FaultPlan::add(const QString &text, QString *error)
{
    QList<FaultRule> parsed;
    const QStringList items = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (items.isEmpty())
        return fail(error, QStringLiteral("empty fault"));
    for (const QString &item : items) {
        FaultRule rule;
        if (!parseOne(item, &rule, error))
            return false;
        parsed.append(rule);
    }
    m_rules.append(parsed);
    return true;
}

FaultPlan::Outcome FaultPlan::take(const QByteArray &code3)
{
    Outcome out;
    QList<FaultRule *> counters;
    for (FaultRule &rule : m_rules) {
        if (!rule.matches(code3) || rule.times == 0)
            continue;
        if (rule.times > 0)
            --rule.times;
        switch (rule.kind) {
        case FaultKind::Silent:
            out.silent = true;
            break;
        case FaultKind::SilentAfter:
            if (rule.answered >= rule.param)
                out.silent = true;
            counters.append(&rule);
            break;
        case FaultKind::Late:
            out.lateMs += rule.param;
            break;
        case FaultKind::ConfirmOther:
            out.confirmOther = true;
            break;
        default:
            out.corruptions.append(rule);
            break;
        }
    }
    if (!out.silent) {
        for (FaultRule *rule : counters)
            ++rule->answered;
    }
    m_rules.erase(std::remove_if(m_rules.begin(), m_rules.end(),
                                 [](const FaultRule &r) { return r.times == 0; }),
                  m_rules.end());
    return out;
}

QByteArray FaultPlan::corrupt(const QByteArray &answer, const FaultRule &rule,
                              const CommandFormat &format, std::mt19937_64 &rng)
{
    QByteArray out = answer;
    if (out.isEmpty())
        return out;
    switch (rule.kind) {
    case FaultKind::Checksum:
        if (format.crcOffset > 0 && out.size() > format.crcOffset)
            out[format.crcOffset] = char(out.at(format.crcOffset) ^ 0x5A);
        break;
    case FaultKind::NoStart:
        out[0] = '\0';
        break;
    case FaultKind::Echo:
        if (out.size() > 1) {
            out[1] = char(out.at(1) ^ 0x20);  // the other letter case
            rewriteCrc(out, format);
        }
        break;
    case FaultKind::Garbage: {
        std::uniform_int_distribution<int> byte(0, 255);
        for (char &c : out)
            c = char(byte(rng));
        if (out.at(0) == Frame::StartByte)
            out[0] = char(0xFF);
        break;
    }
    case FaultKind::Truncate:
        out.truncate(rule.param < 0 ? out.size() / 2 : qMin(rule.param, out.size()));
        break;
    default:
        break;
    }
    return out;
}
