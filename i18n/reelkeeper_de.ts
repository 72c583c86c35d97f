<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>app::TMain</name>
    <message>
        <source>Videos</source>
        <translation>Videos</translation>
    </message>
    <message>
        <source>SEARCH ON</source>
        <translation>SUCHE AKTIV</translation>
    </message>
    <message>
        <source>Filter (Ctrl+K)</source>
        <translation>Filter (Strg+K)</translation>
    </message>
    <message>
        <source>Quick filter</source>
        <translation>Schnellfilter</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New Database</source>
        <translation>&amp;Neue Datenbank</translation>
    </message>
    <message>
        <source>&amp;Open Database</source>
        <translation>Datenbank ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Update Database</source>
        <translation>Datenbank &amp;aktualisieren</translation>
    </message>
    <message>
        <source>&amp;Back Up Data</source>
        <translation>Daten &amp;sichern</translation>
    </message>
    <message>
        <source>&amp;Restore Data</source>
        <translation>Daten &amp;wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Printer &amp;Setup</source>
        <translation>Drucker&amp;einrichtung</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Records</source>
        <translation>Daten&amp;sätze</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>E&amp;xport</source>
        <translation>E&amp;xportieren</translation>
    </message>
    <message>
        <source>&amp;Lent Out</source>
        <translation>&amp;Verliehen</translation>
    </message>
    <message>
        <source>Navi&amp;gate</source>
        <translation>&amp;Navigieren</translation>
    </message>
    <message>
        <source>&amp;Search (Query)</source>
        <translation>&amp;Suchen (Abfrage)</translation>
    </message>
    <message>
        <source>&amp;End Search</source>
        <translation>Suche be&amp;enden</translation>
    </message>
    <message>
        <source>&amp;Locate</source>
        <translation>&amp;Finden</translation>
    </message>
    <message>
        <source>Locate &amp;Next</source>
        <translation>&amp;Weitersuchen</translation>
    </message>
    <message>
        <source>&amp;Reports</source>
        <translation>&amp;Berichte</translation>
    </message>
    <message>
        <source>&amp;Viewer</source>
        <translation>&amp;Anzeige</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>Sort &amp;Order</source>
        <translation>&amp;Sortierfolge</translation>
    </message>
    <message>
        <source>Screen Si&amp;ze</source>
        <translation>Bildschirm&amp;größe</translation>
    </message>
    <message>
        <source>&amp;Screen Access</source>
        <translation>Sc&amp;haltflächen</translation>
    </message>
    <message>
        <source>&amp;Speed Buttons</source>
        <translation>&amp;Symbolleiste</translation>
    </message>
    <message>
        <source>&amp;Lettered Buttons</source>
        <translation>&amp;Beschriftete Knöpfe</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;Keine</translation>
    </message>
    <message>
        <source>&amp;Color</source>
        <translation>&amp;Farbe</translation>
    </message>
    <message>
        <source>&amp;Main Window Color</source>
        <translation>&amp;Hauptfenster</translation>
    </message>
    <message>
        <source>&amp;Edit Window Color</source>
        <translation>&amp;Eingabefenster</translation>
    </message>
    <message>
        <source>&amp;Search Window Color</source>
        <translation>&amp;Suchfenster</translation>
    </message>
    <message>
        <source>&amp;Report Window Color</source>
        <translation>&amp;Berichtsfenster</translation>
    </message>
    <message>
        <source>&amp;Configure Window Color</source>
        <translation>&amp;Konfigurationsfenster</translation>
    </message>
    <message>
        <source>&amp;ALL Windows Color</source>
        <translation>&amp;Alle Fenster</translation>
    </message>
    <message>
        <source>List &amp;Maintenance</source>
        <translation>&amp;Listenpflege</translation>
    </message>
    <message>
        <source>C&amp;urrency Format</source>
        <translation>&amp;Währungsformat</translation>
    </message>
    <message>
        <source>&amp;Numeric Format</source>
        <translation>&amp;Zahlenformat</translation>
    </message>
    <message>
        <source>&amp;U.S. Dollars</source>
        <translation>&amp;US-Dollar</translation>
    </message>
    <message>
        <source>&amp;Windows Setting</source>
        <translation>&amp;Systemeinstellung</translation>
    </message>
    <message>
        <source>&amp;U.S. Format</source>
        <translation>&amp;US-Format</translation>
    </message>
    <message>
        <source>&amp;Date Format</source>
        <translation>&amp;Datumsformat</translation>
    </message>
    <message>
        <source>&amp;Leading Zeros</source>
        <translation>&amp;Führende Nullen</translation>
    </message>
    <message>
        <source>&amp;Label Font</source>
        <translation>Schrift der &amp;Beschriftungen</translation>
    </message>
    <message>
        <source>&amp;Edit Font</source>
        <translation>Schrift der &amp;Eingabefelder</translation>
    </message>
    <message>
        <source>&amp;Button Font</source>
        <translation>Schrift der &amp;Knöpfe</translation>
    </message>
    <message>
        <source>L&amp;anguage</source>
        <translation>Spr&amp;ache</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Werkzeuge</translation>
    </message>
    <message>
        <source>&amp;Search and Replace</source>
        <translation>&amp;Suchen und Ersetzen</translation>
    </message>
    <message>
        <source>&amp;Rebuild Indexes</source>
        <translation>&amp;Indizes neu aufbauen</translation>
    </message>
    <message>
        <source>&amp;Pack Database</source>
        <translation>Datenbank &amp;packen</translation>
    </message>
    <message>
        <source>Find &amp;Duplicates</source>
        <translation>&amp;Doppelte finden</translation>
    </message>
    <message>
        <source>S&amp;tatistics</source>
        <translation>S&amp;tatistik</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;Review &quot;Tips of the Day&quot;</source>
        <translation>&amp;Tipps des Tages ansehen</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Reelkeeper Videos 95
A database manager for a private video collection.
Version %1</source>
        <translation>Reelkeeper Videos 95
Eine Datenbank für eine private Videosammlung.
Version %1</translation>
    </message>
    <message>
        <source>Other &amp;Products</source>
        <translation>Weitere &amp;Produkte</translation>
    </message>
    <message>
        <source>Other Products</source>
        <translation>Weitere Produkte</translation>
    </message>
    <message>
        <source>Reelkeeper Videos 95 is the only product of its makers.</source>
        <translation>Reelkeeper Videos 95 ist das einzige Produkt seiner Hersteller.</translation>
    </message>
    <message>
        <source>Follow the &amp;Desktop</source>
        <translation>Wie der &amp;Desktop</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>The program speaks the chosen language from its next start.</source>
        <translation>Das Programm spricht die gewählte Sprache ab seinem nächsten Start.</translation>
    </message>
</context>
<context>
    <name>edit_ui::TLentOut</name>
    <message>
        <source>Lent Out</source>
        <translation>Verliehen</translation>
    </message>
    <message>
        <source>Videos lent out</source>
        <translation>Verliehene Videos</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Media #</source>
        <translation>Medium Nr.</translation>
    </message>
    <message>
        <source>Lent To</source>
        <translation>Verliehen an</translation>
    </message>
    <message>
        <source>Since</source>
        <translation>Seit</translation>
    </message>
    <message>
        <source>Days Out</source>
        <translation>Tage weg</translation>
    </message>
    <message>
        <source>&amp;Overdue after</source>
        <translation>Über&amp;fällig nach</translation>
    </message>
    <message>
        <source> days</source>
        <translation> Tagen</translation>
    </message>
    <message>
        <source>&amp;Returned</source>
        <translation>&amp;Zurückgegeben</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>%1  OVERDUE</source>
        <translation>%1  ÜBERFÄLLIG</translation>
    </message>
    <message>
        <source>The record is no longer in the collection.</source>
        <translation>Der Datensatz ist nicht mehr in der Sammlung.</translation>
    </message>
</context>
</TS>
