#include "search/searchform.h"

namespace pelorin {

TSearchForm *SearchForm = nullptr;

TSearchForm::TSearchForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("SearchForm"));
    setWindowTitle(QStringLiteral("Search"));
}

TSearchForm::~TSearchForm() = default;

} // namespace pelorin
