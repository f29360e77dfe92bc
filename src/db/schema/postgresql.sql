-- The back-office tables the agent reads, for PostgreSQL.
-- Names are unquoted, so PostgreSQL folds them to lower case; statements write them unquoted too.

CREATE TABLE Sklep (
    SklepId integer PRIMARY KEY,
    Nazwa varchar(100) NOT NULL
);

CREATE TABLE Towar (
    TowId integer PRIMARY KEY,
    Kod varchar(30),
    Nazwa varchar(100),
    Stawka integer,
    AsId integer,
    Indeks2 varchar(40),
    JMId integer,
    CenaEw double precision
);

CREATE TABLE JM (
    JMId integer PRIMARY KEY,
    Nazwa varchar(20)
);

CREATE TABLE Asort (
    AsId integer PRIMARY KEY,
    Nazwa varchar(100)
);

CREATE TABLE SklepTowar (
    SklepTowId integer NOT NULL,
    SklepId integer NOT NULL,
    TowId integer,
    PRIMARY KEY (SklepTowId, SklepId)
);

CREATE TABLE SklepIstw (
    SklepTowId integer NOT NULL,
    SklepId integer NOT NULL,
    StanMag double precision,
    PRIMARY KEY (SklepTowId, SklepId)
);

CREATE TABLE SklepDok (
    SklepDokId integer NOT NULL,
    SklepId integer NOT NULL,
    TypDok integer,
    Aktywny integer,
    Data timestamp,
    SklepKontrId integer NULL,
    Netto double precision,
    Razem double precision,
    NettoMag double precision,
    PRIMARY KEY (SklepDokId, SklepId)
);

CREATE TABLE SklepPozDok (
    SklepDokId integer NOT NULL,
    SklepId integer NOT NULL,
    Kolejnosc integer NOT NULL,
    SklepTowId integer,
    IloscPlus double precision,
    IloscMinus double precision,
    CenaDet double precision,
    CenaPoRab double precision,
    Stawka integer,
    Wartosc double precision,
    CenaMag double precision,
    TypPoz integer,
    PRIMARY KEY (SklepDokId, SklepId, Kolejnosc)
);

CREATE TABLE KodDod (
    TowId integer,
    Kolejnosc integer,
    Kod varchar(30),
    PrefPLU integer
);

CREATE TABLE Kontrahent (
    KontrId integer PRIMARY KEY,
    Nazwa varchar(100),
    NIP varchar(30)
);

CREATE TABLE SklepKontr (
    SklepKontrId integer NOT NULL,
    SklepId integer NOT NULL,
    KontrId integer,
    PRIMARY KEY (SklepKontrId, SklepId)
);

CREATE TABLE SklepParagon (
    SklepParId integer NOT NULL,
    SklepId integer NOT NULL,
    Aktywny integer,
    DataCzas timestamp,
    TypPar integer,
    IloscPoz integer,
    Wartosc double precision,
    PRIMARY KEY (SklepParId, SklepId)
);

CREATE TABLE Konfig (
    ParGrupa varchar(40),
    ParNazwa varchar(60),
    ParWartosc varchar(255)
);

CREATE INDEX SklepTowar_TowId ON SklepTowar (TowId, SklepId);
CREATE INDEX SklepDok_Sklep_Data ON SklepDok (SklepId, Data, TypDok);
CREATE INDEX SklepDok_Data ON SklepDok (Data, TypDok);
CREATE INDEX KodDod_TowId ON KodDod (TowId, Kolejnosc);
CREATE INDEX SklepParagon_DataCzas ON SklepParagon (DataCzas);
CREATE INDEX Konfig_Grupa ON Konfig (ParGrupa, ParNazwa);
