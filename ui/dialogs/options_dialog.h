// "Options": the choice of scale method, an editable combobox whose item index is the filter index.
#pragma once

#include <QDialog>

class QComboBox;

class COptionsDlg : public QDialog {
    Q_OBJECT

public:
    // Preselects `currentFilter`; an index without an item shows "Nearest", the method the player
    // uses for it.
    explicit COptionsDlg(int currentFilter, QWidget* parent = nullptr);

    // The combobox's current index; -1 when no item is selected (the text field holds something
    // else than one of the items, e.g. the user cleared it).
    int ChosenFilter() const;

private:
    void OnTextEdited(const QString& text);

    QComboBox* m_scaleMethod;
};
