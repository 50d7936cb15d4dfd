#pragma once

#include "FieldDataLink.h"

#include <QObject>

// Hands a field's notifications to the form: the record moved or the value changed, editing
// began or ended, the record is being written (every time, changed or not), the dataset opened or
// closed.
class TDBFieldEvents : public QObject {
    Q_OBJECT
public:
    explicit TDBFieldEvents(QObject* parent = nullptr);
    ~TDBFieldEvents() override;

    db::DataSet* DataSource() const { return link_.GetDataSet(); }
    void SetDataSource(db::DataSet* dataSet) { link_.SetDataSource(dataSet); }
    const QString& DataField() const { return link_.DataField(); }
    void SetDataField(const QString& name) { link_.SetDataField(name); }
    db::Field* GetField() const { return link_.GetField(); }
    void SetModified() { link_.SetModified(); }

signals:
    void OnDataChange(TDBFieldEvents* sender);
    void OnEditingChange(TDBFieldEvents* sender);
    void OnUpdateData(TDBFieldEvents* sender);
    void OnActiveChange(TDBFieldEvents* sender);

private:
    // Marks itself modified before every update, so that the form hears each one.
    class Link : public TFieldDataLink {
    protected:
        void UpdateData() override
        {
            SetModified();
            TFieldDataLink::UpdateData();
        }
    };
    Link link_;
};
