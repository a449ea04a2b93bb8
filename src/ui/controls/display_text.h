#pragma once
// The one conversion between the program's byte strings and the texts
// widgets show. Names and texts are bytes: file names are bytes on Linux,
// device and settings files hold UTF-8, Big5 or Latin-1. A widget shows the
// decoded text (UTF-8 when it is valid UTF-8, else Big5, else Latin-1:
// platform/text_decode.h) and keeps the bytes beside it, so a name never
// goes through a QString and back (which would replace every byte that is
// not UTF-8). No widget converts a name on its own.
//
//   SetByteText(edit, name);            // shows the decoded name, keeps the bytes
//   std::string again = ByteTextOf(edit);   // the same bytes while it shows them
//   AddByteItem(box, name);             // an item that keeps its bytes
//   std::string picked = ItemBytes(box, i);
//
// Only a text that comes as a QString (typed by the operator, chosen in
// Qt's file chooser) becomes bytes by its UTF-8 (TypedBytes).
#include <QString>
#include <QVariant>
#include <string>
#include <string_view>

class QComboBox;
class QLineEdit;

namespace quenlet {

// The bytes as the screen shows them.
QString DisplayText(std::string_view bytes);

// The bytes of a text that came as a QString: its UTF-8.
std::string TypedBytes(const QString& text);

// A line edit (a combo box's too) showing bytes: the decoded text, with the
// bytes kept on the edit. ByteTextOf gives the kept bytes while the edit
// shows their text, else (the operator changed it) TypedBytes of the text.
void SetByteText(QLineEdit* edit, std::string_view bytes);
std::string ByteTextOf(const QLineEdit* edit);
// Makes the bytes the edit's own for its current text, without setting the
// text (a combo box puts an item's text into its edit itself).
void KeepBytes(QLineEdit* edit, std::string_view bytes);

// Items that keep their bytes: the decoded text shows, the bytes ride in
// the item data (Qt::UserRole). An item added with a plain text has the
// text's TypedBytes.
QVariant ByteItemData(std::string_view bytes);
void AddByteItem(QComboBox* box, std::string_view bytes);
std::string ItemBytes(const QComboBox* box, int index);

// An editable combo box's name: the bytes its edit keeps while it shows
// them, else those of the first item whose text it shows (a completion),
// else TypedBytes of the text.
std::string ComboTextBytes(const QComboBox* box);

}  // namespace quenlet
