#pragma once
// One row of the common-properties sheet: id, value, comment, YAML key and
// the value before the last load; the value field shows whether it changed.

#include "ui_PropUI.h"

#include <QFrame>

namespace korvane {

class PropUi : public QFrame, private Ui_PropUI
{
    Q_OBJECT
public:
    PropUi(const QString &id, const QString &value, const QString &comment, const QString &key,
           QWidget *parent = nullptr);

    QLabel *idLabel() const { return Id; }
    QLineEdit *valueEdit() const { return Value; }
    QLabel *commentLabel() const { return Comment; }
    QLabel *ymlKeyLabel() const { return YmlKey; }
    QLineEdit *oldValueEdit() const { return OldValue; }

public slots:
    void newValue(const QString &text);
};

} // namespace korvane
