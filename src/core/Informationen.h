#pragma once

#include "VersionInfo.h"

#include <ZRDialog.h>

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;
class QWidget;

// The about box: picture, ownership line, the thanks text that scrolls while it is shown.
class TfrmInformation : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmInformation(QWidget* parent = nullptr);

    QPushButton* Dankesworte() const { return dankesworte_; }
    QWidget* DankPanel() const { return dankPanel_; }
    QTimer* Lauftext() const { return lauftext_; }

private:
    void DankesworteClick();
    void Rollen();

    QPushButton* dankesworte_ = nullptr;
    QWidget* dankPanel_ = nullptr;
    QWidget* dankFlaeche_ = nullptr;
    QLabel* dankText_ = nullptr;
    QTimer* lauftext_ = nullptr;
};

// The file-version window: every file of the program and every module it loaded, marked when
// its MD5 differs from the release's checksum list.
class TfrmVersionInfo : public TZRDialog {
    Q_OBJECT
public:
    struct Quellen {
        QString programm;
        QString programmOrdner;
        QString udfOrdner;
        QStringList pruefsummen;  // "name=md5" lines
    };
    static Quellen StandardQuellen();

    explicit TfrmVersionInfo(const Quellen& quellen, QWidget* parent = nullptr);

    const QList<VersionInfo::TFileInfo>& Dateien() const { return dateien_; }
    QTableWidget* Liste() const { return liste_; }
    QPushButton* Kopieren() const { return kopieren_; }

private:
    void ListeFuellen();

    QList<VersionInfo::TFileInfo> dateien_;
    QTableWidget* liste_ = nullptr;
    QPushButton* kopieren_ = nullptr;
};

// Program folder, version, system and database, with the Explorer and the file versions.
class TfrmSystemInfo : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmSystemInfo(QWidget* parent = nullptr);

    // How a folder is opened in the file manager; tests replace it.
    void SetOrdnerOeffnen(std::function<bool(const QString&)> oeffnen)
    {
        ordnerOeffnen_ = std::move(oeffnen);
    }
    // Where the file-version window takes its files from; tests replace it.
    void SetVersionQuellen(TfrmVersionInfo::Quellen quellen) { quellen_ = std::move(quellen); }
    // How the script file is chosen (empty: cancelled); tests replace it.
    void SetSkriptWaehlen(std::function<QString(QWidget*)> waehlen)
    {
        skriptWaehlen_ = std::move(waehlen);
    }

    QLabel* Wert(const QString& name) const;
    QPushButton* Knopf(const QString& name) const;

private:
    void ExplorerStarten();
    void DateiVersionen();
    void SkriptAusfuehren();

    std::function<bool(const QString&)> ordnerOeffnen_;
    std::function<QString(QWidget*)> skriptWaehlen_;
    TfrmVersionInfo::Quellen quellen_;
};
