' zmien_atrybuty.vbs - otwiera okno Atrybuty, w którym zmienia siê wygl¹d
' linii warstwy mapy (kolor, gruboœæ, styl), bez Excela.
'
'   cscript //nologo zmien_atrybuty.vbs    (w oknie konsoli)
'   albo dwukrotne klikniêcie pliku        (wscript, bez konsoli)
'
' Pakiet map jest brany z rejestru, jak przy ka¿dym starcie: gdy
' zainstalowano kilka pakietów, najpierw pojawia siê okno "Wybór mapy".
' Skrypt nie ma skoroszytu do odœwie¿enia, wiêc w oknie zaznacz "Nie
' odœwie¿aj arkusza" przed klikniêciem "Zastosuj" (inaczej Atrybuty powie,
' ¿e nie przekazano obiektu Excel, i nic nie zapisze).
'
' RunForm otwiera okno niemodalnie i od razu wraca, a obiekt musi ¿yæ, dopóki
' okno jest otwarte. Skrypt czeka wiêc w oknie komunikatu, które potwierdza
' siê po zamkniêciu okna Atrybuty.
'
' Czy okno w ogóle siê otworzy³o, wiadomo z IsChange: wczytanie okna
' ustawia j¹ na False, wiêc skrypt ustawia True przed RunForm. Gdy po
' RunForm nadal jest True, okno siê nie otworzy³o (brak pakietu, zamkniêty
' wybór mapy - Atrybuty ju¿ to u¿ytkownikowi powiedzia³) i skrypt koñczy.
'
' Kod wyjœcia: 0 - koniec pracy, 1 - b³¹d Atrybuty (numer i opis id¹ na
' standardowe wyjœcie b³êdów, a bez konsoli do okna komunikatu). Numery
' b³êdów i co z nimi zrobiæ: podrêcznik (Podrecznik.txt), rozdzia³
' "B³êdy automatyzacji".
'
' Plik jest zapisany w Windows-1250: tak Windows Script Host czyta skrypty
' bez znacznika BOM w polskim Windows.
Option Explicit

Dim atrybuty, numer, opis, zmieniono

On Error Resume Next
Set atrybuty = CreateObject("Atrybuty.MorvalyClsAttribute")
If Err.Number = 0 Then atrybuty.IsChange = True
If Err.Number = 0 Then atrybuty.RunForm
numer = Err.Number
opis = Err.Description
On Error GoTo 0

' Obiekt jest zwalniany przed koñcem skryptu na ka¿dej drodze: Atrybuty
' koñczy pracê dopiero wtedy, gdy wywo³uj¹cy zwolni¹ swoje obiekty.
If numer <> 0 Then
    Set atrybuty = Nothing
    If opis = "" Then opis = "B³¹d &H" & Hex(numer) & "."
    ZglosBlad "Nie uda³o siê otworzyæ okna zmiany atrybutów linii (b³¹d " & numer & _
              ", &H" & Hex(numer) & "): " & opis
    WScript.Quit 1
End If

If atrybuty.IsChange Then
    Wypisz "Atrybuty: okno nie zosta³o otwarte."
Else
    MsgBox "Okno „Zmiana atrybutów linii” jest otwarte." & vbCrLf & vbCrLf & _
           "Kliknij OK, gdy je zamkniesz.", vbInformation, "Atrybuty"

    ' IsChange: True, gdy od otwarcia okna klikniêto "Zastosuj", a potem nie
    ' klikniêto "Anuluj" (zamkniêcie okna krzy¿ykiem jej nie zmienia).
    ' True nie znaczy, ¿e coœ zapisano - zob. podrêcznik, rozdzia³
    ' "Sk³adowe obiektu".
    zmieniono = False
    On Error Resume Next
    zmieniono = CBool(atrybuty.IsChange)
    On Error GoTo 0
    If zmieniono Then
        Wypisz "Atrybuty: koniec, IsChange = True"
    Else
        Wypisz "Atrybuty: koniec, IsChange = False"
    End If
End If
Set atrybuty = Nothing

' Czy skrypt dzia³a w konsoli (cscript), a nie w oknach (wscript).
Function WKonsoli()
    WKonsoli = (LCase(Right(WScript.FullName, 11)) = "cscript.exe")
End Function

' Wypisuje wiersz w konsoli; pod wscript milczy, bo WScript.Echo otworzy³oby
' kolejne okno komunikatu.
Sub Wypisz(tekst)
    If WKonsoli() Then WScript.Echo tekst
End Sub

' B³¹d: na standardowe wyjœcie b³êdów w konsoli, w oknie komunikatu bez niej.
' Host skryptów, który nie udostêpnia StdErr, dostaje go przez WScript.Echo.
Sub ZglosBlad(tekst)
    If WKonsoli() Then
        On Error Resume Next
        WScript.StdErr.WriteLine tekst
        If Err.Number <> 0 Then WScript.Echo tekst
        On Error GoTo 0
    Else
        MsgBox tekst, vbCritical, "Atrybuty"
    End If
End Sub
