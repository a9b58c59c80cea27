#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QString>

namespace taloven {

// A control is found, by the tests and by the layout, under the number of
// its resource.
inline QString ControlName(int id) {
  return QString::number(id);
}

// A button that Enter never presses, for windows where Enter means
// something else or nothing at all.
QPushButton* PlainButton(const QString& text, const QString& name, QWidget* parent);

// One button of a closing row: an empty text takes Qt's own for its role.
struct RowButton {
  QString text;
  QString name;
};

// The row that closes a dialog: ok accepts it, cancel rejects it.
struct CloseRow {
  QDialogButtonBox* box;
  QPushButton* ok;
  QPushButton* cancel;
};
CloseRow AddCloseRow(QDialog* dialog, const RowButton& ok, const RowButton& cancel);

// The dialogs' usual row: "OK" as button 1 and "Cancelar" as button 2.
CloseRow AddOkCancelRow(QDialog* dialog);

}  // namespace taloven
