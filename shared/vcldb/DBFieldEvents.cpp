#include "DBFieldEvents.h"

TDBFieldEvents::TDBFieldEvents(QObject* parent) : QObject(parent)
{
    link_.OnDataChange = [this] { emit OnDataChange(this); };
    link_.OnEditingChange = [this] { emit OnEditingChange(this); };
    link_.OnUpdateData = [this] { emit OnUpdateData(this); };
    link_.OnActiveChange = [this] { emit OnActiveChange(this); };
}

TDBFieldEvents::~TDBFieldEvents()
{
    link_.OnDataChange = {};
    link_.OnEditingChange = {};
    link_.OnUpdateData = {};
    link_.OnActiveChange = {};
}
