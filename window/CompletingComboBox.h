#pragma once

#include <QComboBox>

class QKeyEvent;

namespace dnl {

// An editable drop-down list that completes typed text with the first item, in list order, that
// starts with it (case-blind). It reports the user's changes through changedByUser() alone:
// typing, Backspace, picking from the list or stepping with the arrow keys. Changes made by the
// program (setCurrentIndex, ClearItemsKeepingText) are never reported.
class CompletingComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit CompletingComboBox(QWidget* parent = nullptr);

    // Removes every item but leaves the text field showing what it showed.
    void ClearItemsKeepingText();

signals:
    void changedByUser();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Completes the text left of the caret plus `typed` with the first matching item; false when
    // no item matches.
    bool CompleteWith(const QString& typed);
    void RemoveBackwards();
    // After a free edit of the text: no item is selected any more, the text stays as typed.
    void OnTextEdited();
    void ShowNoItemKeepingText();
};

}  // namespace dnl
