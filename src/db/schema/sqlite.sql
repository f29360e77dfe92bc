-- The back-office tables the agent reads, for the embedded SQLite default.
-- Days and moments are TEXT 'YYYY-MM-DD HH:MM:SS'.

CREATE TABLE Sklep (
    SklepId INTEGER PRIMARY KEY,
    Nazwa TEXT NOT NULL
);

CREATE TABLE Towar (
    TowId INTEGER PRIMARY KEY,
    Kod TEXT,
    Nazwa TEXT,
    Stawka INTEGER,
    AsId INTEGER,
    Indeks2 TEXT,
    JMId INTEGER,
    CenaEw REAL
);

CREATE TABLE JM (
    JMId INTEGER PRIMARY KEY,
    Nazwa TEXT
);

CREATE TABLE Asort (
    AsId INTEGER PRIMARY KEY,
    Nazwa TEXT
);

CREATE TABLE SklepTowar (
    SklepTowId INTEGER NOT NULL,
    SklepId INTEGER NOT NULL,
    TowId INTEGER,
    PRIMARY KEY (SklepTowId, SklepId)
);

CREATE TABLE SklepIstw (
    SklepTowId INTEGER NOT NULL,
    SklepId INTEGER NOT NULL,
    StanMag REAL,
    PRIMARY KEY (SklepTowId, SklepId)
);

CREATE TABLE SklepDok (
    SklepDokId INTEGER NOT NULL,
    SklepId INTEGER NOT NULL,
    TypDok INTEGER,
    Aktywny INTEGER,
    Data TEXT,
    SklepKontrId INTEGER NULL,
    Netto REAL,
    Razem REAL,
    NettoMag REAL,
    PRIMARY KEY (SklepDokId, SklepId)
);

CREATE TABLE SklepPozDok (
    SklepDokId INTEGER NOT NULL,
    SklepId INTEGER NOT NULL,
    Kolejnosc INTEGER NOT NULL,
    SklepTowId INTEGER,
    IloscPlus REAL,
    IloscMinus REAL,
    CenaDet REAL,
    CenaPoRab REAL,
    Stawka INTEGER,
    Wartosc REAL,
    CenaMag REAL,
    TypPoz INTEGER,
    PRIMARY KEY (SklepDokId, SklepId, Kolejnosc)
);

CREATE TABLE KodDod (
    TowId INTEGER,
    Kolejnosc INTEGER,
    Kod TEXT,
    PrefPLU INTEGER
);

CREATE TABLE Kontrahent (
    KontrId INTEGER PRIMARY KEY,
    Nazwa TEXT,
    NIP TEXT
);

CREATE TABLE SklepKontr (
    SklepKontrId INTEGER NOT NULL,
    SklepId INTEGER NOT NULL,
    KontrId INTEGER,
    PRIMARY KEY (SklepKontrId, SklepId)
);

CREATE TABLE SklepParagon (
    SklepParId INTEGER NOT NULL,
    SklepId INTEGER NOT NULL,
    Aktywny INTEGER,
    DataCzas TEXT,
    TypPar INTEGER,
    IloscPoz INTEGER,
    Wartosc REAL,
    PRIMARY KEY (SklepParId, SklepId)
);

CREATE TABLE Konfig (
    ParGrupa TEXT,
    ParNazwa TEXT,
    ParWartosc TEXT
);

CREATE INDEX SklepTowar_TowId ON SklepTowar (TowId, SklepId);
CREATE INDEX SklepDok_Sklep_Data ON SklepDok (SklepId, Data, TypDok);
CREATE INDEX SklepDok_Data ON SklepDok (Data, TypDok);
CREATE INDEX KodDod_TowId ON KodDod (TowId, Kolejnosc);
CREATE INDEX SklepParagon_DataCzas ON SklepParagon (DataCzas);
CREATE INDEX Konfig_Grupa ON Konfig (ParGrupa, ParNazwa);
