Attribute VB_Name = "StyleLinii"
' Style linii warstw map z makra, bez ¿adnego okna: klasa Atrybuty.LineStyles.
'
' Zaimportuj ten plik do projektu VBA skoroszytu (File > Import File...).
'   NadajStyleZArkusza      nadaje style linii warstwom wymienionym w arkuszu
'                           "Style linii": od wiersza 2 kolumna A to pakiet,
'                           B warstwa, C gruboœæ (1 do 7), D styl (1 do 77),
'                           E kolor (#RRGGBB); pusta komórka zostawia tê
'                           wartoœæ bez zmian. Wynik wiersza (OK albo opis
'                           b³êdu) trafia do kolumny F.
'   ZapiszStylePakietu      zapisuje style linii wszystkich warstw pakietu
'                           do pliku tekstowego
'   PrzywrocStylePakietu    przywraca je z takiego pliku (tak¿e na innym
'                           komputerze); zwraca wynik dla ka¿dej warstwy
'
' Ka¿da zmiana jest zapisywana w dzienniku zmian, a cofn¹æ j¹ mo¿na obiektem
' Change (LineStyles.Changes) albo poleceniem "atrybuty-tool undo".
' Plik w stronie kodowej Windows-1250, koñce wierszy CR LF.
Option Explicit

Private Const ARKUSZ_STYLI As String = "Style linii"

Public Sub NadajStyleZArkusza()
    Dim style As Object
    Dim arkusz As Object
    Dim wiersz As Long
    Set arkusz = Nothing
    On Error GoTo Blad
    Set style = CreateObject("Atrybuty.LineStyles")
    Set arkusz = ThisWorkbook.Worksheets(ARKUSZ_STYLI)
    If Not arkusz Is Nothing Then
        wiersz = 2
        Do While CStr(arkusz.Cells(wiersz, 1).Value) <> ""
            arkusz.Cells(wiersz, 6).Value = NadajStylWiersza(style, arkusz, wiersz)
            wiersz = wiersz + 1
        Loop
    End If
    Exit Sub
Blad:
    MsgBox "Nie uda³o siê nadaæ stylów linii." & vbCrLf & Err.Description & vbCrLf & _
           "(Err.Number = " & Err.Number & ")", vbCritical, "Atrybuty"
End Sub

' Jeden wiersz arkusza: "OK" albo numer i opis b³êdu; b³¹d jednego wiersza
' nie zatrzymuje pozosta³ych.
Private Function NadajStylWiersza(ByVal style As Object, ByVal arkusz As Object, ByVal wiersz As Long) As String
    Dim warstwa As Object
    Set warstwa = Nothing
    On Error GoTo Blad
    Set warstwa = style.Layer(CStr(arkusz.Cells(wiersz, 1).Value), CStr(arkusz.Cells(wiersz, 2).Value))
    If Not warstwa Is Nothing Then
        warstwa.SetLineStyle Liczba(arkusz.Cells(wiersz, 3).Value), Liczba(arkusz.Cells(wiersz, 4).Value), _
                             Kolor(arkusz.Cells(wiersz, 5).Value)
    End If
    NadajStylWiersza = "OK"
    Exit Function
Blad:
    NadajStylWiersza = "B³¹d " & Err.Number & ": " & Err.Description
    Err.Clear
End Function

' Pusta komórka: Empty, czyli "bez zmian".
Private Function Liczba(ByVal komorka As Variant) As Variant
    If CStr(komorka) = "" Then
        Liczba = Empty
    Else
        Liczba = CLng(komorka)
    End If
End Function

' "#RRGGBB" jako wartoœæ RGB; pusta komórka: Empty.
Private Function Kolor(ByVal komorka As Variant) As Variant
    Dim tekst As String
    tekst = CStr(komorka)
    If tekst = "" Then
        Kolor = Empty
    Else
        Kolor = RGB(CLng("&H" & Mid(tekst, 2, 2)), CLng("&H" & Mid(tekst, 4, 2)), CLng("&H" & Mid(tekst, 6, 2)))
    End If
End Function

Public Sub ZapiszStylePakietu(ByVal pakiet As String, ByVal plik As String)
    On Error GoTo Blad
    CreateObject("Atrybuty.LineStyles").Export pakiet, plik
    Exit Sub
Blad:
    MsgBox "Nie uda³o siê zapisaæ stylów pakietu " & pakiet & "." & vbCrLf & Err.Description & vbCrLf & _
           "(Err.Number = " & Err.Number & ")", vbCritical, "Atrybuty"
End Sub

' Zwraca po jednym wierszu na warstwê: nazwa i wynik (zmieniona, bez zmian
' albo odrzucona z powodem). Gdy plik nie daje siê odczytaæ, nic nie jest
' zapisywane i zwracany jest opis b³êdu.
Public Function PrzywrocStylePakietu(ByVal plik As String) As String
    Dim wyniki As Object
    Dim wynik As Object
    Dim raport As String
    Set wyniki = Nothing
    On Error GoTo Blad
    Set wyniki = CreateObject("Atrybuty.LineStyles").Import(plik)
    If Not wyniki Is Nothing Then
        For Each wynik In wyniki
            raport = raport & wynik.Layer & ": "
            ' Przy póŸnym wi¹zaniu sta³e biblioteki typów nie s¹ znane:
            ' 1 to atrImportChanged, 2 atrImportUnchanged, 3 atrImportRefused.
            Select Case wynik.Result
                Case 1
                    raport = raport & "zmieniona"
                Case 2
                    raport = raport & "bez zmian"
                Case Else
                    raport = raport & "odrzucona (" & wynik.Reason & ")"
            End Select
            raport = raport & vbCrLf
        Next
    End If
    PrzywrocStylePakietu = raport
    Exit Function
Blad:
    PrzywrocStylePakietu = "B³¹d " & Err.Number & ": " & Err.Description
    Err.Clear
End Function
