object Form1: TForm1
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Form1'
  ClientWidth = 300
  ClientHeight = 120
  Color = clBlack
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnContextPopup = FormContextPopup
  object RidivAzoza1: TRidivAzoza
    Left = 0
    Top = 50
    Width = 289
    Height = 49
    Color = clInactiveCaptionText
    ImageList = ImageListNixie
    Mode24 = 1
    ModeTransparent = 1
    Digit0X = 10
    Digit1X = 53
    Digit2X = 110
    Digit3X = 152
    Digit4X = 207
    Digit5X = 248
    OnMouseDown = RidivAzoza1MouseDown
    OnMouseMove = RidivAzoza1MouseMove
    OnMouseUp = RidivAzoza1MouseUp
  end
  object ImageListNixie: TImageList
    Height = 41
    Width = 23
    Bitmap = ImageListNixie
  end
  object TimerClock: TTimer
    Interval = 250
    OnTimer = TimerClockTimer
  end
  object PopupMenu1: TPopupMenu
    object Settings1: TMenuItem
      Caption = 'Settings'
      OnClick = Settings1Click
    end
    object Quit1: TMenuItem
      Caption = 'Quit'
      OnClick = Quit1Click
    end
    object N1: TMenuItem
      Caption = '-'
    end
    object UsersManual1: TMenuItem
      Caption = 'Users Manual'
      OnClick = UsersManual1Click
    end
    object N2: TMenuItem
      Caption = '-'
    end
    object About1: TMenuItem
      Caption = 'About'
      OnClick = About1Click
    end
  end
  object ImageListVfd: TImageList
    Height = 40
    Width = 25
    Bitmap = ImageListVfd
  end
  object ImageListVfdG: TImageList
    Height = 40
    Width = 25
    Bitmap = ImageListVfdG
  end
  object ImageListVfdR: TImageList
    Height = 40
    Width = 25
    Bitmap = ImageListVfdR
  end
  object TimerStartup: TTimer
    Interval = 100
    OnTimer = TimerStartupTimer
  end
end
