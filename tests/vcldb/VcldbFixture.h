#pragma once

#include <DataSet.h>
#include <Query.h>
#include <TestDatabase.h>
#include <Transaction.h>

#include <MessageBoxScript.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <memory>

// A form on a real dataset: one table with a column of each kind the controls bind to, two rows.
class VcldbTest : public DatabaseTest {
public:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        db::Transaction tr(Db());
        tr.Start();
        db::Query(
            tr, QStringLiteral("CREATE TABLE T_VCL (ID INTEGER NOT NULL PRIMARY KEY, "
                               "MENGE NUMERIC(15,2), ANZAHL INTEGER, DATUM DATE, NAME VARCHAR(20), "
                               "FLAG CHAR(1), GESCHLECHT CHAR(1), BILD SMALLINT, ZEIT TIMESTAMP, "
                               "BEMERKUNG BLOB SUB_TYPE TEXT)"))
            .Execute();
        tr.Commit();
    }

protected:
    void SetUp() override
    {
        // A message box nobody expects fails the test instead of waiting for a click.
        boxen_ = std::make_unique<MessageBoxScript>();
        tr_ = std::make_unique<db::Transaction>(Db());
        tr_->Start();
        Sql("DELETE FROM T_VCL");
        Sql("INSERT INTO T_VCL VALUES (1, 5, 7, '2024-03-01', 'Berta', 'J', 'W', 1, "
            "'2024-03-01 10:30:00', 'ruhig')");
        Sql("INSERT INTO T_VCL VALUES (2, NULL, NULL, NULL, NULL, 'j', 'M', 9, NULL, NULL)");
        ds_ = std::make_unique<db::DataSet>(*tr_);
        ds_->SetSelectSQL(QStringLiteral("SELECT * FROM T_VCL ORDER BY ID"));
        ds_->SetModifySQL(QStringLiteral(
            "UPDATE T_VCL SET MENGE = :MENGE, ANZAHL = :ANZAHL, DATUM = :DATUM, NAME = :NAME, "
            "FLAG = :FLAG, GESCHLECHT = :GESCHLECHT, BILD = :BILD, ZEIT = :ZEIT, "
            "BEMERKUNG = :BEMERKUNG WHERE ID = :OLD_ID"));
        ds_->Open();
        form_ = std::make_unique<QWidget>();
        anderes_ = new QLineEdit(form_.get());
        anderes_->move(0, 200);
    }

    void TearDown() override
    {
        form_.reset();
        ds_.reset();
        tr_.reset();  // rolls back
        EXPECT_EQ(boxen_->Pending(), 0) << "a message that was expected did not come";
        boxen_.reset();
    }

    void Sql(const char* sql) { db::Query(*tr_, QString::fromUtf8(sql)).Execute(); }

    QVariant Gespeichert(const char* spalte, int id = 1)
    {
        ds_->CheckBrowseMode();
        db::Query q(*tr_, QStringLiteral("SELECT %1 FROM T_VCL WHERE ID = %2")
                              .arg(QString::fromUtf8(spalte))
                              .arg(id));
        q.Open();
        return q.Field(0).AsVariant();
    }

    void Zeigen()
    {
        form_->resize(300, 260);
        form_->show();
        QApplication::setActiveWindow(form_.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    }

    // Puts the focus into a control as a user would, and takes it out again.
    static void Fokus(QWidget* w)
    {
        w->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QApplication::processEvents();
    }
    void Verlassen() { Fokus(anderes_); }

    std::unique_ptr<MessageBoxScript> boxen_;
    std::unique_ptr<db::Transaction> tr_;
    std::unique_ptr<db::DataSet> ds_;
    std::unique_ptr<QWidget> form_;
    QLineEdit* anderes_ = nullptr;
};
