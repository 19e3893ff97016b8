#pragma once
// The open research subject. Field names follow the database columns they hold.

#include <QString>

class CSubject {
public:
    // Every text empty, SubjectID and Status -1, the availability numbers and
    // Modified 0, AudiogramClean 1.
    void Clear();

    QString Cochlear;
    QString CochlearImplant;
    int Modified = 0;
    int AudiogramClean = 1;
    int SubjectID = -1;
    QString Address;
    QString Birth;
    QString City;
    QString DateEntry;
    QString DateInitial;
    QString DateLast;
    QString DateUpdate;
    QString Email;
    QString EnteredBy;
    QString Ethnicity;
    QString Race;
    QString Firstname;
    QString Sex;
    QString PrimaryLang;
    QString Lastname;
    QString Notes;
    QString ParticDate;
    QString PatImpression;
    QString Phone1;
    QString Phone1Type;
    QString Phone2;
    QString Phone2Type;
    int Status = -1;
    QString State;
    QString Irb;
    QString Unit;
    QString Zip;
    int Longterm = 0;
    int Shortterm = 0;
    int Workday = 0;
    int Evenings = 0;
    int Weekends = 0;
    int Other = 0;
    QString Recruitment;
    QString ScreeningImpr;
    QString Parent;
    QString Contact;
    QString LetterSent;
    QString LetterReturned;
    QString Bilingual;
    QString LossType;
    QString School;
    QString CurrentSpeech;
    QString PastSpeech;
};
