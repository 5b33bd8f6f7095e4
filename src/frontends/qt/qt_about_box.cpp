// The About dialog. Its OK button, its close box and Esc all unload it through the event
// boundary, as the OK button's handler does.
#include "frontends/qt/qt_about_box.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QPushButton>

#include "frontends/qt/pictures.h"
#include "frontends/qt/twips.h"
#include "wizard/events.h"

namespace qtui {

namespace {

class AboutDialog : public QDialog {
  public:
    explicit AboutDialog(QWidget* owner) : QDialog(owner) {}

  protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        reject();
    }
    void reject() override { wizard::handle(*ui::form::aboutDefault().click); }
};

}  // namespace

QtAboutBox::~QtAboutBox() {
    delete dialog_;
}

void QtAboutBox::create() {
    auto* d = new AboutDialog(owner_);
    d->setObjectName("AboutBox");
    d->setModal(false);
    d->setFixedSize(twipsRect(d, ui::form::aboutClient).size());
    d->setFont(narrowSans(d->font()));
    for (const ui::form::Control& c : ui::form::aboutControls()) {
        QWidget* w = nullptr;
        if (c.kind == ui::form::Kind::defaultButton) {
            auto* ok = new QPushButton("OK", d);
            ok->setDefault(true);
            QObject::connect(ok, &QPushButton::clicked, d,
                             [event = *c.click] { wizard::handle(event); });
            w = ok;
        } else {
            auto* label = new QLabel(d);
            label->setTextFormat(Qt::PlainText);
            w = label;
        }
        w->setObjectName(QString::fromUtf8(c.name));
        w->setGeometry(twipsRect(d, c.place));
    }
    auto* icon = d->findChild<QLabel*>("picIcon");
    const double dpr = d->devicePixelRatioF();
    QPixmap picture =
        QPixmap::fromImage(pictures::applicationIcon(static_cast<int>(32 * pictureScale(d) * dpr)));
    picture.setDevicePixelRatio(dpr);
    icon->setPixmap(picture);
    icon->setAlignment(Qt::AlignCenter);

    auto* title = d->findChild<QLabel*>("lblTitle");
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * ui::form::aboutTitlePercent / 100);
    big.setBold(true);
    title->setFont(big);
    title->setWordWrap(true);
    auto* description = d->findChild<QLabel*>("lblDescription");
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    dialog_ = d;
    title_.attach(title);
    version_.attach(d->findChild<QLabel*>("lblVersion"));
    description_.attach(description);
}

void QtAboutBox::destroy() {
    title_.attach(nullptr);
    version_.attach(nullptr);
    description_.attach(nullptr);
    if (dialog_ == nullptr)
        return;
    dialog_->hide();
    // The dialog may be inside one of its own event handlers right now.
    dialog_->deleteLater();
    dialog_ = nullptr;
}

void QtAboutBox::present() {
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void QtAboutBox::showCaption(const std::string& caption) {
    if (dialog_ != nullptr)
        dialog_->setWindowTitle(QString::fromStdString(caption));
}

}  // namespace qtui
