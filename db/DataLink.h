#pragma once

namespace db {

class DataSet;
class Field;

// What a bound control or view learns of its dataset. A control derives from DataLink, overrides
// what it needs and attaches to a dataset; the link detaches itself when destroyed, and the
// dataset detaches its links when it is destroyed. While the dataset's controls are disabled
// (DisableControls) links hear nothing; EnableControls ends with DataSetChanged.
class DataLink {
public:
    explicit DataLink(DataSet* dataSet = nullptr);
    virtual ~DataLink();
    DataLink(const DataLink&) = delete;
    DataLink& operator=(const DataLink&) = delete;

    void SetDataSet(DataSet* dataSet);
    DataSet* GetDataSet() const { return dataSet_; }
    bool Active() const;
    bool Editing() const;
    // Puts the dataset into edit state when it is browsing; true when it is editing afterwards.
    bool Edit();

protected:
    friend class DataSet;
    // The dataset opened or closed.
    virtual void ActiveChanged() {}
    // The rows changed as a whole (open, refresh, insert, delete, post, cancel).
    virtual void DataSetChanged() {}
    // Another record became current.
    virtual void DataSetScrolled() {}
    // A value of the current record changed; field is null when the whole record changed.
    virtual void RecordChanged(Field* field) { (void)field; }
    // Edit or insert state began or ended.
    virtual void EditingChanged() {}
    // Before a post: write the control's pending value into its field.
    virtual void UpdateData() {}

private:
    DataSet* dataSet_ = nullptr;
};

}  // namespace db
