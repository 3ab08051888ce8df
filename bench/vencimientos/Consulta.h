// The baseline of the fleet overview's benchmark: one hand-written SQLite query
// that produces the overview's rows straight from the table files.
#pragma once

#include <QString>

#include <vector>

struct tFilaConsulta
{
    QString Matricula, Marca, Modelo;
    qint32 Km_Actuales = 0;
    int Tarea = 0;
    qint32 Km_Proximo = 0;

    bool operator==(const tFilaConsulta &o) const
    {
        return Matricula == o.Matricula && Marca == o.Marca && Modelo == o.Modelo && Km_Actuales == o.Km_Actuales
            && Tarea == o.Tarea && Km_Proximo == o.Km_Proximo;
    }
};

// The rows, vehicle by vehicle in storing order and each vehicle's tasks in
// task order: for every task the last stored operation that did it, plus the
// brand's first interval record, held within 32 bits; only known readings.
class tConsultaVencimientos
{
public:
    explicit tConsultaVencimientos(const QString &carpeta);
    ~tConsultaVencimientos();
    tConsultaVencimientos(const tConsultaVencimientos &) = delete;
    tConsultaVencimientos &operator=(const tConsultaVencimientos &) = delete;

    std::vector<tFilaConsulta> Filas();

private:
    struct sqlite3 *m_db = nullptr;
    struct sqlite3_stmt *m_st = nullptr;
};
