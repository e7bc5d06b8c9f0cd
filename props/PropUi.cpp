#include "props/PropUi.h"

namespace korvane {

namespace {
// The value field is white while it still shows the value before the last
// load, pink once it differs from it.
const char *const sameStyle = "background-color: rgb(255, 255, 255);";
const char *const changedStyle = "background-color: rgb(255, 192, 192);";
} // namespace

PropUi::PropUi(const QString &id, const QString &value, const QString &comment, const QString &key,
               QWidget *parent)
    : QFrame(parent)
{
    setupUi(this);
    Id->setText(id);
    Value->setText(value);
    Comment->setText(comment);
    YmlKey->setText(key);
    OldValue->setText(QString());
    // Connected only now, so that setting the first value leaves the field
    // in the platform colour until something changes it.
    connect(Value, &QLineEdit::textChanged, this, &PropUi::newValue);
}

void PropUi::newValue(const QString &text)
{
    Value->setStyleSheet(QLatin1String(text == OldValue->text() ? sameStyle : changedStyle));
}

} // namespace korvane
