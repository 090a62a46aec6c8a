#pragma once
// TSearchForm: the search window; created at start-up, hidden, shown by the Search commands.

#include <QMainWindow>

namespace pelorin {

class TSearchForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TSearchForm(QWidget *parent = nullptr);
    ~TSearchForm() override;
};

extern TSearchForm *SearchForm;

} // namespace pelorin
