// Wiring of the main window's buttons and menu items to the handlers of this window.
// Commands owned elsewhere are connected by their own code through the public members.

#include "platform/error.h"
#include "shell/dirtree.h"
#include "shell/mainform.h"

#include <QAction>
#include <QHeaderView>
#include <QToolButton>

namespace pelorin {

void TMainForm::connectOptionToggle(QAction *action, void (TMainForm::*handler)())
{
    // A checkable action flips its own check before it reports the trigger; the handlers
    // decide the check themselves, so the automatic flip is undone first.
    connect(action, &QAction::triggered, this, guarded([this, action, handler](bool) {
                action->setChecked(!action->isChecked());
                (this->*handler)();
            }));
}

void TMainForm::connectHandlers()
{
    auto onTrigger = [this](QAction *action, void (TMainForm::*handler)()) {
        connect(action, &QAction::triggered, this, guarded([this, handler](bool) { (this->*handler)(); }));
    };
    auto onClick = [this](QToolButton *button, void (TMainForm::*handler)()) {
        connect(button, &QToolButton::clicked, this, guarded([this, handler](bool) { (this->*handler)(); }));
    };

    // Image types: each menu item and button pair shares one handler.
    const std::pair<std::pair<QAction *, QToolButton *>, void (TMainForm::*)()> types[] = {
        {{BMP1, BmpButton}, &TMainForm::BMP1Click},       {{DIB1, DibButton}, &TMainForm::DibButtonClick},
        {{Emf1, EmfButton}, &TMainForm::EmfButtonClick},  {{Gif1, GifButton}, &TMainForm::Gif1Click},
        {{Icon1, IconButton}, &TMainForm::Icon1Click},    {{Jpeg1, JpegButton}, &TMainForm::Jpeg1Click},
        {{Pcx1, PcxButton}, &TMainForm::Pcx1Click},       {{Png1, PngButton}, &TMainForm::Png1Click},
        {{Tiff1, TiffButton}, &TMainForm::Tiff1Click},    {{Wmf1, WmfButton}, &TMainForm::Wmf1Click},
        {{All1, AllButton}, &TMainForm::AllButtonClick},
    };
    for (const auto &[pair, handler] : types) {
        onTrigger(pair.first, handler);
        onClick(pair.second, handler);
    }

    onClick(ListButton, &TMainForm::ListButtonClick);
    onClick(IcoButton, &TMainForm::ListButtonClick);
    connectOptionToggle(List1, &TMainForm::List1Click);
    connectOptionToggle(Sorted1, &TMainForm::Sorted1Click);
    onTrigger(Refresh1, &TMainForm::Refresh1Click);
    onTrigger(SelectAll1, &TMainForm::SelectAll1Click);

    connectOptionToggle(NoStop1, &TMainForm::NoStop1Click);
    connectOptionToggle(NoThumbs1, &TMainForm::NoThumbs1Click);
    connectOptionToggle(ShowHints1, &TMainForm::ShowHints1Click);
    connectOptionToggle(RecycleFiles1, &TMainForm::RecycleFiles1Click);
    connectOptionToggle(MaximumSize1, &TMainForm::MaximumSize1Click);

    onClick(StopButton, &TMainForm::StopButtonClick);
    onClick(ExitButton, &TMainForm::Exit1Click);
    for (QAction *exit : {Exit1, Exit2, Exit3, Exit4, Exit5, Exit7, Exit8})
        onTrigger(exit, &TMainForm::Exit1Click);

    onTrigger(About1, &TMainForm::About1Click);
    onTrigger(Help2, &TMainForm::Help2Click);
    onClick(HelpButton, &TMainForm::Help2Click);
    onTrigger(SearchHelp, &TMainForm::SearchHelpClick);
    onTrigger(UsingHelp1, &TMainForm::UsingHelp1Click);
    onTrigger(WhatsThis1, &TMainForm::WhatsThis1Click);
    onTrigger(WhatsThis2, &TMainForm::WhatsThis2Click);
    onTrigger(WhatsThis4, &TMainForm::WhatsThis4Click);
    onTrigger(WhatsThis5, &TMainForm::WhatsThis5Click);
    onTrigger(WhatsThis6, &TMainForm::WhatsThis6Click);
    onTrigger(WhatsThis7, &TMainForm::WhatsThis7Click);

    onTrigger(ThumbSize1, &TMainForm::ThumbSize1Click);
    onClick(ThumbSizeButton, &TMainForm::ThumbSize1Click);

    connect(DirTree1, &DirTree::dirChange, this, guarded([this](const QString &dir) { DirTree1DirChange(dir); }));
    connect(HeaderControl1, &QHeaderView::sectionResized, this,
            guarded([this](int, int, int) { HeaderControl1SectionResize(); }));
}

} // namespace pelorin
