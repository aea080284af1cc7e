Attribute VB_Name = "AtrybutyLinii"
' Atrybuty w skoroszycie Excela: okno zmiany wygl¹du linii warstwy mapy
' (kolor, gruboœæ, styl).
'
' Zaimportuj ten plik do projektu VBA skoroszytu (w edytorze VBA: File >
' Import File...) i przypisz makra przyciskom albo poleceniom menu:
'   ZmienAtrybutyLinii                zwyk³e uruchomienie (póŸne wi¹zanie)
'   ZmienAtrybutyLiniiZUruchomienia   uruchomienie z programu uruchamiaj¹cego
'                                     przegl¹darkê map: pole "Nie odœwie¿aj
'                                     arkusza" zostaje zaznaczone, a "Anuluj"
'                                     koñczy Atrybuty
'   ZmienAtrybutyLiniiWczesnie        to samo co ZmienAtrybutyLinii, z wczesnym
'                                     wi¹zaniem (IntelliSense, sprawdzanie przy
'                                     kompilacji)
'   AtrybutyZmienione                 IsChange obiektu: True, gdy w ostatnio
'                                     otwartym oknie wykonano "Zastosuj", a
'                                     potem nie "Anuluj"
'
' Wczesne wi¹zanie wymaga odwo³ania do biblioteki typów: Tools > References
' (Narzêdzia > Odwo³ania) > zaznacz "Atrybuty: atrybuty linii warstw map".
' Bez odwo³ania ustaw poni¿ej WczesneWiazanie = False: modu³ skompiluje siê
' wtedy tak¿e tam, gdzie Atrybuty nie jest zainstalowany.
'
' Modu³ nazywa siê AtrybutyLinii, a nie Atrybuty: przy wczesnym wi¹zaniu
' modu³ o nazwie biblioteki typów przes³oni³by jej nazwy.
'
' Plik jest zapisany w stronie kodowej Windows-1250 z koñcami wierszy CR LF,
' bo edytor VBA czyta importowany modu³ w stronie kodowej ANSI systemu.
Option Explicit

#Const WczesneWiazanie = True

' Obiekt ¿yje, dopóki trzyma go ta zmienna modu³u. Okno jest niemodalne:
' RunForm wraca, gdy okno jest jeszcze otwarte, a obiekt trzeba zachowaæ do
' jego zamkniêcia (zmienna lokalna zwolni³aby go od razu).
Private mAtrybuty As Object

' Zwyk³e uruchomienie ze skoroszytu.
Public Sub ZmienAtrybutyLinii()
    On Error GoTo Blad
    OtworzOkno ""
    Exit Sub
Blad:
    PokazBlad Err.Number, Err.Description
End Sub

' Uruchomienie z programu uruchamiaj¹cego przegl¹darkê map.
Public Sub ZmienAtrybutyLiniiZUruchomienia()
    On Error GoTo Blad
    OtworzOkno "FROM_EXEC"
    Exit Sub
Blad:
    PokazBlad Err.Number, Err.Description
End Sub

#If WczesneWiazanie Then
' To samo co ZmienAtrybutyLinii, przez bibliotekê typów "Atrybuty".
Public Sub ZmienAtrybutyLiniiWczesnie()
    Dim okno As Atrybuty.MorvalyClsAttribute
    On Error GoTo Blad
    Set okno = New Atrybuty.MorvalyClsAttribute
    Set okno.Excel = Application
    okno.RunForm
    Set mAtrybuty = okno
    Exit Sub
Blad:
    Set mAtrybuty = Nothing
    PokazBlad Err.Number, Err.Description
End Sub
#End If

' IsChange obiektu. False, gdy ¿adnego okna nie otwarto albo Atrybuty siê
' zakoñczy³ (po "Anuluj" przy uruchomieniu z przegl¹darki map), wiêc odczyt
' nigdy nie zg³asza b³êdu. Uwaga: przy oknie niemodalnym ma znaczenie dopiero
' po jego zamkniêciu.
Public Function AtrybutyZmienione() As Boolean
    AtrybutyZmienione = False
    If Not IsObject(mAtrybuty) Then Exit Function
    If mAtrybuty Is Nothing Then Exit Function
    On Error GoTo Koniec
    AtrybutyZmienione = CBool(mAtrybuty.IsChange)
    Exit Function
Koniec:
    AtrybutyZmienione = False
    Err.Clear
End Function

' Tworzy obiekt (póŸne wi¹zanie: wed³ug ProgID, skoroszyt nie potrzebuje
' odwo³ania), przekazuje mu ten Excel i otwiera okno; przy kilku pakietach map
' najpierw pojawia siê wybór mapy. B³¹d automatyzacji (na przyk³ad zepsuta
' konfiguracja pakietu) przechodzi do procedury wywo³uj¹cej.
Private Sub OtworzOkno(ByVal pokaz As String)
    Set mAtrybuty = Nothing
    Set mAtrybuty = CreateObject("Atrybuty.MorvalyClsAttribute")
    Set mAtrybuty.Excel = Application
    If pokaz <> "" Then mAtrybuty.ShowNow = pokaz
    mAtrybuty.RunForm
End Sub

' Err.Number mówi, co siê sta³o (tabela numerów w podrêczniku, np.
' -2147220985: okno jest zajête), Err.Description - zdanie dla u¿ytkownika.
Private Sub PokazBlad(ByVal numer As Long, ByVal opis As String)
    Set mAtrybuty = Nothing
    If opis = "" Then opis = "B³¹d &H" & Hex(numer) & "."
    MsgBox "Nie uda³o siê otworzyæ okna zmiany atrybutów linii." & vbCrLf & vbCrLf & opis & vbCrLf & _
           "(Err.Number = " & numer & ")", vbCritical, "Atrybuty"
End Sub
