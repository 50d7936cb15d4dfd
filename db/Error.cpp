#include "Error.h"

namespace db {

Error::Error(const QString& message, int sqlCode, long engineCode, const QString& constraint)
    : std::runtime_error(message.toStdString()),
      message_(message),
      sqlCode_(sqlCode),
      engineCode_(engineCode),
      constraint_(constraint)
{
}

}  // namespace db
