#include "CompletingComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <string>
#include <vector>

#include "Completion.h"

namespace dnl {

namespace {

// A key that types text, as opposed to an editing key, Tab, Escape or a shortcut.
bool TypesText(const QKeyEvent& event) {
    if ((event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) {
        return false;
    }
    const QString text = event.text();
    return !text.isEmpty() && std::all_of(text.begin(), text.end(),
                                          [](QChar character) { return character.isPrint(); });
}

std::vector<std::string> ItemTexts(const QComboBox& box) {
    std::vector<std::string> items;
    items.reserve(static_cast<std::size_t>(box.count()));
    for (int row = 0; row < box.count(); ++row) {
        items.push_back(box.itemText(row).toStdString());
    }
    return items;
}

bool IsPlainBackspace(const QKeyEvent& event) {
    return event.key() == Qt::Key_Backspace && event.modifiers() == Qt::NoModifier;
}

}  // namespace

CompletingComboBox::CompletingComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Completion follows the rules below, not those of Qt's completer.
    setCompleter(nullptr);
    // When editing finishes Qt would select an item whose text equals the typed text, a change
    // outside the completion rules.
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    connect(lineEdit(), &QLineEdit::textEdited, this, &CompletingComboBox::OnTextEdited);
    // Emitted for a pick from the list and for arrow-key or wheel steps, never for the program's.
    connect(this, &QComboBox::activated, this, &CompletingComboBox::changedByUser);
}

void CompletingComboBox::ClearItemsKeepingText() {
    const QString shown = currentText();
    clear();
    setEditText(shown);
}

void CompletingComboBox::keyPressEvent(QKeyEvent* event) {
    if (IsPlainBackspace(*event)) {
        RemoveBackwards();
        event->accept();
        return;
    }
    if (TypesText(*event) && CompleteWith(event->text())) {
        event->accept();
        return;
    }
    // Other keys, and text that matches no item, are handled as usual; an edit comes back
    // through OnTextEdited.
    QComboBox::keyPressEvent(event);
}

bool CompletingComboBox::CompleteWith(const QString& typed) {
    QLineEdit* edit = lineEdit();
    const int typedLength =
        edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const QString prefix = edit->text().left(typedLength) + typed;
    const int found = CompletingItem(ItemTexts(*this), prefix.toStdString());
    if (found < 0) {
        return false;
    }
    const bool changed = found != currentIndex();
    setCurrentIndex(found);
    const QString completed = itemText(found);
    edit->setText(completed);
    edit->setSelection(static_cast<int>(prefix.size()),
                       static_cast<int>(completed.size() - prefix.size()));
    if (changed) {
        emit changedByUser();
    }
    return true;
}

void CompletingComboBox::RemoveBackwards() {
    QLineEdit* edit = lineEdit();
    const bool removesSomething = edit->hasSelectedText() || edit->cursorPosition() > 0;
    // Removes the selected completion, or else the character left of the caret, and reports the
    // edit through textEdited.
    edit->backspace();
    if (!removesSomething) {
        OnTextEdited();
    }
}

void CompletingComboBox::OnTextEdited() {
    ShowNoItemKeepingText();
    emit changedByUser();
}

void CompletingComboBox::ShowNoItemKeepingText() {
    QLineEdit* edit = lineEdit();
    const QString shown = edit->text();
    const int caret = edit->cursorPosition();
    setCurrentIndex(-1);  // clears the text field
    edit->setText(shown);
    edit->setCursorPosition(caret);
}

}  // namespace dnl
