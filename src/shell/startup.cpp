#include "shell/startup.h"

#include "acquire/scanform.h"
#include "browse/imageform.h"
#include "browse/thumbsizeform.h"
#include "convert/convertform.h"
#include "filelist/filelistform.h"
#include "fileops/copyform.h"
#include "fileops/drivedialog.h"
#include "fileops/propertyform.h"
#include "output/picform.h"
#include "output/printoptionsform.h"
#include "output/wmfform.h"
#include "search/searchform.h"
#include "shell/help.h"
#include "shell/mainform.h"
#include "shell/maxsizeform.h"

namespace pelorin {

namespace {

// Each secondary window is created hidden, lives until the program ends, and does not
// keep the program running once the main window has closed.
template<class Form>
void create(Form *&reference, Form *window)
{
    reference = window;
    window->setAttribute(Qt::WA_QuitOnClose, false);
    help::installContextHelp(window);
}

template<class Form>
void destroy(Form *&reference)
{
    delete reference;
    reference = nullptr;
}

} // namespace

void createLongLivedWindows()
{
    // The main window comes first: its creation loads the settings the others start from.
    MainForm = new TMainForm;
    help::installContextHelp(MainForm);
    create(ThumbSizeForm, new TThumbSizeForm);
    create(ImageForm, new TImageForm);
    create(CopyForm, new TCopyForm);
    create(PicForm, new TPicForm);
    create(ConvertForm, new TConvertForm);
    create(PropertyForm, new TPropertyForm);
    create(ScanForm, new TScanForm);
    create(PrintOptionsForm, new TPrintOptionsForm);
    create(WmfForm, new TWmfForm);
    create(SearchForm, new TSearchForm);
    create(MaxSizeForm, new TMaxSizeForm(MainForm->initialMaxSizeLimit(), MainForm->initialMaxSize()));
    create(DriveDialog, new TDriveDialog);
    create(FileListForm, new TFileListForm);
}

void destroyLongLivedWindows()
{
    destroy(FileListForm);
    destroy(DriveDialog);
    destroy(MaxSizeForm);
    destroy(SearchForm);
    destroy(WmfForm);
    destroy(PrintOptionsForm);
    destroy(ScanForm);
    destroy(PropertyForm);
    destroy(ConvertForm);
    destroy(PicForm);
    destroy(CopyForm);
    destroy(ImageForm);
    destroy(ThumbSizeForm);
    destroy(MainForm);
}

} // namespace pelorin
