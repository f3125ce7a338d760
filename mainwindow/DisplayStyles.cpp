#include "DisplayStyles.h"

#include <QLabel>
#include <QLineEdit>

namespace {

QPalette field(QPalette p, const QColor &base)
{
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::Text, Qt::white);
    }
    return p;
}

QPalette text(QPalette p, const QColor &colour)
{
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::WindowText, colour);
    return p;
}

}  // namespace

DisplayStyles::DisplayStyles(const QPalette &base)
    : m_fields{field(base, QColor(0, 170, 0)), field(base, Qt::gray), field(base, Qt::blue),
               field(base, Qt::red)},
      m_texts{text(base, Qt::black), text(base, Qt::gray), text(base, Qt::white)}
{
}

const QPalette &DisplayStyles::palette(FieldStyle style) const
{
    return m_fields[static_cast<int>(style)];
}

const QPalette &DisplayStyles::palette(TextStyle style) const
{
    return m_texts[static_cast<int>(style)];
}

void DisplayStyles::apply(QLineEdit *field, FieldStyle style) const
{
    field->setPalette(palette(style));
}

void DisplayStyles::apply(QLabel *label, TextStyle style) const
{
    label->setPalette(palette(style));
}
