#include "framework/MessageBox.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>

namespace framework {
namespace {

MessageResult RunQtBox(QWidget* parent, const MessageRequest& request)
{
    auto box = BuildMessageBox(parent, request);
    // Around a long operation the wait cursor is up; the box wants the arrow.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting)
        QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    const int answer = box->exec();
    if (waiting)
        QApplication::restoreOverrideCursor();
    if (request.buttons == MessageButtons::YesNo)
        return answer == QMessageBox::Yes ? MessageResult::Yes : MessageResult::No;
    if (request.buttons == MessageButtons::YesNoCancel) {
        // Escape and the close button are Cancel: nothing happens.
        return answer == QMessageBox::Yes  ? MessageResult::Yes
               : answer == QMessageBox::No ? MessageResult::No
                                           : MessageResult::Cancel;
    }
    return MessageResult::Ok;
}

MessagePresenter& Presenter()
{
    static MessagePresenter presenter = RunQtBox;
    return presenter;
}

} // namespace

QString MessageCaption()
{
    return QStringLiteral("Quorin");
}

QString NormaliseLineBreaks(const QString& text)
{
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

std::unique_ptr<QMessageBox> BuildMessageBox(QWidget* parent, const MessageRequest& request)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(MessageCaption());
    box->setTextFormat(Qt::PlainText);
    box->setText(NormaliseLineBreaks(request.text));
    // As the designed-for platform's boxes can be copied from: a temporary password
    // shown once has to be.
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    switch (request.icon) {
    case MessageIcon::Stop: box->setIcon(QMessageBox::Critical); break;
    case MessageIcon::Information: box->setIcon(QMessageBox::Information); break;
    case MessageIcon::Default: box->setIcon(QMessageBox::NoIcon); break;
    }
    if (request.buttons == MessageButtons::YesNo) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
    } else if (request.buttons == MessageButtons::YesNoCancel) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::Cancel);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
        box->setDefaultButton(QMessageBox::Ok);
    }
    return box;
}

MessageResult ShowMessage(QWidget* parent, const MessageRequest& request)
{
    if (!parent)
        parent = QApplication::activeWindow();
    return Presenter()(parent, request);
}

MessageResult ShowMessage(const QString& text, MessageIcon icon, MessageButtons buttons)
{
    return ShowMessage(nullptr, MessageRequest{text, icon, buttons});
}

MessagePresenter SetMessagePresenter(MessagePresenter presenter)
{
    MessagePresenter previous = Presenter();
    Presenter() = presenter ? std::move(presenter) : MessagePresenter(RunQtBox);
    return previous;
}

} // namespace framework
