#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QLabel;
class QLineEdit;
class QPushButton;

// The generated value-entry dialog "Neuer Eintrag": one labelled edit field per value.
class TNeuerWert : public QDialog {
    Q_OBJECT
public:
    TNeuerWert(const QStringList& labels, const QStringList& values, const QString& caption,
               const QString& prompt, QWidget* parent = nullptr);

    QStringList Werte() const;
    const QList<QLineEdit*>& Edits() const { return edits_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* label1_;
    QPushButton* button1_;
    QPushButton* button2_;
    QList<QLabel*> labels_;
    QList<QLineEdit*> edits_;
    bool einWert_;
};

// Asks for new values, one per label. False, showing nothing, when the lists are empty or of
// unequal length; values change only when the user confirms with OK.
bool GetNeueWerte(const QStringList& labels, QStringList& values, const QString& caption,
                  const QString& prompt);
