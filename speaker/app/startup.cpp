#include "speaker/app/startup.h"

#include "platform/prompter/prompter.h"
#include "platform/system/singleinstance.h"

namespace app {

bool checkSingleInstance(const platform::SingleInstance& lock, platform::Prompter& prompter) {
    if (!lock.alreadyRunning()) return true;
    prompter.message({platform::MessageKind::Error, QStringLiteral("Quilla! !"),
                      QStringLiteral("程序已经在运行中!"), QMessageBox::Ok});
    return false;
}

}  // namespace app
