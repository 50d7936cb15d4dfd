#include "GrundeinstellungenHIT.h"

#include "Grundeinstellungen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace GrundeinstellungenDaten;

TGrundeinstellungenHIT::TGrundeinstellungenHIT(TGrundeinstellungenDaten& daten)
    : TGrundeinstellungenSeite(TGrundKat::gkHIT, daten)
{
    meldefrist_ = Zahl(QStringLiteral("edMeldefrist"), QStringLiteral("Meldefrist"), 0, 0, 10);
    meldungAuto_ = Schalter(
        QStringLiteral("Meldepflichtige Aktionen automatisch in die Meldungsliste stellen"),
        QStringLiteral("cbMeldungAuto"));
    frageEnde_ =
        Schalter(QStringLiteral("Beim Programmende auf ausstehende HIT - Meldungen hinweisen"),
                 QStringLiteral("cbFrageEnde"));
    dfue_ = Schalter(QStringLiteral("DFÜ Netzwerk verwenden"), QStringLiteral("cbDFUE"));
    geburtVerlauf_ = Schalter(QStringLiteral("Geburtsverlauf"), QStringLiteral("cbVerlauf"));
    geburtVerbleib_ = Schalter(QStringLiteral("Verbleib"), QStringLiteral("cbVerbleib"));
    geburtET_ = Schalter(QStringLiteral("Embryotransfer"), QStringLiteral("cbET"));
    geburtName_ = Schalter(QStringLiteral("Tiername"), QStringLiteral("cbTiername"));

    auto* frist = new QHBoxLayout;
    frist->addWidget(Beschriftung(QStringLiteral("Meldefrist:")));
    frist->addWidget(meldefrist_);
    frist->addWidget(Beschriftung(QStringLiteral("Tage")));
    frist->addStretch();
    auto* geburt = new QGroupBox(QStringLiteral("Optionale Felder für die Geburtsmeldung:"), this);
    auto* felder = new QVBoxLayout(geburt);
    for (QCheckBox* c : {geburtVerlauf_, geburtVerbleib_, geburtET_, geburtName_})
        felder->addWidget(c);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(frist);
    layout->addWidget(meldungAuto_);
    layout->addWidget(frageEnde_);
    layout->addWidget(dfue_);
    layout->addWidget(geburt);
    layout->addStretch();
}

void TGrundeinstellungenHIT::IniLaden()
{
    dfue_->setChecked(E().GetDFUEVerwenden());
}

void TGrundeinstellungenHIT::Laden()
{
    meldefrist_->SetValue(E().GetHITMeldefrist());
    meldungAuto_->setChecked(E().GetMeldungAuto());
    frageEnde_->setChecked(E().GetHITFrageProgrammEnde());
    geburtVerlauf_->setChecked(E().GetHITGeburtVerlauf());
    geburtVerbleib_->setChecked(E().GetHITGeburtVerbleib());
    geburtET_->setChecked(E().GetHITGeburtET());
    geburtName_->setChecked(E().GetHITGeburtTiername());
}

bool TGrundeinstellungenHIT::Speichern()
{
    E().SetHITMeldefrist(Zahlwert(meldefrist_));
    E().SetMeldungAuto(meldungAuto_->isChecked());
    E().SetHITFrageProgrammEnde(frageEnde_->isChecked());
    E().SetHITGeburtVerlauf(geburtVerlauf_->isChecked());
    E().SetHITGeburtVerbleib(geburtVerbleib_->isChecked());
    E().SetHITGeburtET(geburtET_->isChecked());
    E().SetHITGeburtTiername(geburtName_->isChecked());
    return true;
}

void TGrundeinstellungenHIT::IniSpeichern()
{
    E().SetDFUEVerwenden(dfue_->isChecked());
}

TGrundeinstellungenHITSystem::TGrundeinstellungenHITSystem(TGrundeinstellungenDaten& daten)
    : TGrundeinstellungenSeite(TGrundKat::gkHITSystem, daten)
{
    primaerAddr_ = Text(QStringLiteral("edPrimaerAddr"));
    primaerIP_ = Text(QStringLiteral("edPrimaerIP"));
    sekundaerAddr_ = Text(QStringLiteral("edSekundaerAddr"));
    sekundaerIP_ = Text(QStringLiteral("edSekundaerIP"));
    portNormal_ = Zahl(QStringLiteral("edPortNormal"), QStringLiteral("Normalsystem"), 0, 0, 65535);
    portTest_ = Zahl(QStringLiteral("edPortTest"), QStringLiteral("Testsystem"), 0, 0, 65535);
    systemart_ = Auswahl(QStringLiteral("cbSystemart"),
                         {QStringLiteral("Normalsystem"), QStringLiteral("Testsystem")});
    auto* standard =
        Knopf(QStringLiteral("Standardwerte setzen"), QStringLiteral("btnHITStandard"));
    connect(standard, &QPushButton::clicked, this, &TGrundeinstellungenHITSystem::StandardSetzen);

    auto* warnung = new QLabel(
        QStringLiteral("Diese Werte nur ändern, wenn Sie wissen, was Sie damit bezwecken wollen!"),
        this);
    warnung->setWordWrap(true);
    QFont fett = warnung->font();
    fett.setBold(true);
    warnung->setFont(fett);
    const auto server = [this](const QString& titel, QLineEdit* addr, QLineEdit* ip) {
        auto* box = new QGroupBox(titel, this);
        auto* form = new QFormLayout(box);
        form->addRow(QStringLiteral("Adresse:"), addr);
        form->addRow(QStringLiteral("oder IP:"), ip);
        return box;
    };
    auto* ports = new QGroupBox(QStringLiteral("Server Port"), this);
    auto* portForm = new QFormLayout(ports);
    portForm->addRow(QStringLiteral("Normalsystem:"), portNormal_);
    portForm->addRow(QStringLiteral("Testsystem:"), portTest_);
    auto* art = new QGroupBox(QStringLiteral("Systemart"), this);
    auto* artLayout = new QVBoxLayout(art);
    artLayout->addWidget(systemart_);
    artLayout->addStretch();
    auto* unten = new QHBoxLayout;
    unten->addWidget(ports);
    unten->addWidget(art);
    auto* knopf = new QHBoxLayout;
    knopf->addStretch();
    knopf->addWidget(standard);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(warnung);
    layout->addWidget(server(QStringLiteral("Primary Server"), primaerAddr_, primaerIP_));
    layout->addWidget(server(QStringLiteral("Backup Server"), sekundaerAddr_, sekundaerIP_));
    layout->addLayout(unten);
    layout->addLayout(knopf);
    layout->addStretch();
}

void TGrundeinstellungenHITSystem::Laden()
{
    primaerAddr_->setText(E().GetHITPrimaerAddr());
    primaerIP_->setText(E().GetHITPrimaerIP());
    sekundaerAddr_->setText(E().GetHITSekundaerAddr());
    sekundaerIP_->setText(E().GetHITSekundaerIP());
    portNormal_->SetValue(E().GetHITPortNormal());
    portTest_->SetValue(E().GetHITPortTest());
    systemart_->setCurrentIndex(E().GetHITNormalServer() ? 0 : 1);
}

bool TGrundeinstellungenHITSystem::Speichern()
{
    E().SetHITPrimaerAddr(primaerAddr_->text());
    E().SetHITPrimaerIP(primaerIP_->text());
    E().SetHITSekundaerAddr(sekundaerAddr_->text());
    E().SetHITSekundaerIP(sekundaerIP_->text());
    E().SetHITPortNormal(Zahlwert(portNormal_));
    E().SetHITPortTest(Zahlwert(portTest_));
    E().SetHITNormalServer(systemart_->currentIndex() == 0);
    return true;
}

void TGrundeinstellungenHITSystem::StandardSetzen()
{
    const HITStandard s = HITStandardwerte();
    primaerAddr_->setText(s.primaerAddr);
    primaerIP_->setText(s.primaerIP);
    sekundaerAddr_->setText(s.sekundaerAddr);
    sekundaerIP_->setText(s.sekundaerIP);
    portNormal_->SetValue(s.portNormal);
    portTest_->SetValue(s.portTest);
    systemart_->setCurrentIndex(0);
}
