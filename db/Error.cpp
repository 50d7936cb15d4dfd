#include "Error.h"

#include <memory>
#include <mutex>

namespace db {

namespace {

std::mutex userTextMutex;
std::shared_ptr<const Error::UserText> userText;

QString UserTextOf(const QString& message, long engineCode, const QString& constraint)
{
    if (engineCode == 0)
        return {};
    std::shared_ptr<const Error::UserText> f;
    {
        const std::lock_guard<std::mutex> lock(userTextMutex);
        f = userText;
    }
    return f ? (*f)(message, engineCode, constraint) : QString();
}

}  // namespace

Error::Error(const QString& message, int sqlCode, long engineCode, const QString& constraint)
    : std::runtime_error(std::string()),
      message_(message),
      engineMessage_(message),
      sqlCode_(sqlCode),
      engineCode_(engineCode),
      constraint_(constraint)
{
    const QString text = UserTextOf(message, engineCode, constraint);
    if (!text.isEmpty())
        message_ = text;
    what_ = message_.toUtf8();
}

void Error::SetUserText(UserText f)
{
    auto neu = f ? std::make_shared<const UserText>(std::move(f)) : nullptr;
    const std::lock_guard<std::mutex> lock(userTextMutex);
    userText = std::move(neu);
}

}  // namespace db
