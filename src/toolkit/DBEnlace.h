// Implemented by every data-bound control, so the form utilities (highlighting,
// display-format suspension) can reach the field behind a widget without knowing its class.
#pragma once

class TField;
class TDataSource;

class IDBControl
{
public:
    virtual ~IDBControl() = default;
    virtual TField *dbField() const = 0;          // nullptr when unbound or the table is closed
    virtual TDataSource *dbDataSource() const = 0;
    virtual void dbRefreshText() = 0;             // show the field again with its current formats
};
