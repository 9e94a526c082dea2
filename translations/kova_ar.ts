<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar" sourcelanguage="en">
<context>
    <name>kova</name>
    <message>
        <source>Leave the modem connected and powered: press Enter to repeat the upgrade.</source>
        <translation>اترك المودم متصلًا وقيد التشغيل: اضغط Enter لتكرار الترقية.</translation>
    </message>
    <message>
        <source>Verify if DNS adresses are good.</source>
        <translation>تحقق من صحة عناوين DNS.</translation>
    </message>
    <message>
        <source>Change the addreseses before you click Modify.</source>
        <translation>غيّر العناوين قبل النقر على «تعديل».</translation>
    </message>
    <message>
        <source>&amp;DNS servers :</source>
        <translation>&amp;خوادم DNS:</translation>
    </message>
    <message>
        <source>Secondary DNS server</source>
        <translation>خادم DNS الثانوي</translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation>&amp;تعديل</translation>
    </message>
    <message>
        <source>&amp;Keep Current</source>
        <translation>إ&amp;بقاء الحالي</translation>
    </message>
    <message>
        <source>KOVA Satellite IP Modem Upgrader</source>
        <translation>أداة ترقية مودم IP الفضائي KOVA</translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation>عنوان IP:</translation>
    </message>
    <message>
        <source>New software version:</source>
        <translation>إصدار البرنامج الجديد:</translation>
    </message>
    <message>
        <source>Modem software version:</source>
        <translation>إصدار برنامج المودم:</translation>
    </message>
    <message>
        <source>Connection to the Satellite IP Modem</source>
        <translation>الاتصال بمودم IP الفضائي</translation>
    </message>
    <message>
        <source>Automatic PIC upgrade</source>
        <translation>ترقية PIC تلقائيًا</translation>
    </message>
    <message>
        <source>&amp;Upgrade</source>
        <translation>ت&amp;رقية</translation>
    </message>
    <message>
        <source>Upgrade software</source>
        <translation>ترقية البرنامج</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;استعادة</translation>
    </message>
    <message>
        <source>Restore original software</source>
        <translation>استعادة البرنامج الأصلي</translation>
    </message>
    <message>
        <source>&amp;PIC upgrade</source>
        <translation>تر&amp;قية PIC</translation>
    </message>
    <message>
        <source>PIC upgrade without Software Upgrade</source>
        <translation>ترقية PIC دون ترقية البرنامج</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>التقدم</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>الحالة</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;ملف</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>أ&amp;دوات</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;تعليمات</translation>
    </message>
    <message>
        <source>No PIC file to upgrade in this version.</source>
        <translation>لا يوجد ملف PIC للترقية في هذا الإصدار.</translation>
    </message>
    <message>
        <source> Satellite IP Modem Upgrader

  Upgrades and restores the software of the
  KOVA Satellite IP Modem and its PIC controller,
  and sets the modem&apos;s DNS and LAN addresses.

  Version 2.6 October 15, 2006</source>
        <translation> أداة ترقية مودم IP الفضائي

  تُرقّي وتستعيد برنامج
  مودم IP الفضائي KOVA ووحدة تحكم PIC الخاصة به،
  وتضبط عناوين DNS والشبكة المحلية (LAN) للمودم.

  الإصدار 2.6، 15 أكتوبر 2006</translation>
    </message>
    <message>
        <source>&amp;PicUpgrade</source>
        <translation>تر&amp;قية PIC</translation>
    </message>
    <message>
        <source>&amp;DisableAutoPicUpgrade</source>
        <translation>ت&amp;عطيل الترقية التلقائية لـ PIC</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;خروج</translation>
    </message>
    <message>
        <source>&amp;Configure Modem &amp;Interface</source>
        <translation>&amp;تهيئة واجهة المودم</translation>
    </message>
    <message>
        <source>&amp;Get Software Version</source>
        <translation>&amp;قراءة إصدار البرنامج</translation>
    </message>
    <message>
        <source>&amp;Set DNS addresses</source>
        <translation>&amp;ضبط عناوين DNS</translation>
    </message>
    <message>
        <source>&amp;Reset Modem</source>
        <translation>إعادة ت&amp;شغيل المودم</translation>
    </message>
    <message>
        <source>&amp;About Upgrader...</source>
        <translation>&amp;حول أداة الترقية...</translation>
    </message>
    <message>
        <source>The upgrade history could not be written.
%1</source>
        <translation>تعذّرت كتابة سجل الترقيات.
%1</translation>
    </message>
    <message>
        <source>Please enter Satellite IP Modem&apos;s IP address.</source>
        <translation>يُرجى إدخال عنوان IP لمودم IP الفضائي.</translation>
    </message>
    <message>
        <source>Please enter Satellite IP Modem&apos;s IP Address.</source>
        <translation>يُرجى إدخال عنوان IP لمودم IP الفضائي.</translation>
    </message>
    <message>
        <source>Satellite IP Modem closed the connection. Connection lost.</source>
        <translation>أغلق مودم IP الفضائي الاتصال. انقطع الاتصال.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>خطأ</translation>
    </message>
    <message>
        <source>Unable to get Satellite IP Modem&apos;s software version.

Upgrade process can be continued.</source>
        <translation>تعذّر الحصول على إصدار برنامج مودم IP الفضائي.

يمكن متابعة عملية الترقية.</translation>
    </message>
    <message>
        <source>Unable to get Satellite IP Modem&apos;s software version.

Please check the cable connection.
Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation>تعذّر الحصول على إصدار برنامج مودم IP الفضائي.

يُرجى التحقق من توصيل الكابل.
افصل التيار الكهربائي عن مودم IP الفضائي ثم أعد توصيله.
اقرأ إصدار البرنامج من قائمة «أدوات» قبل إعادة المحاولة.
أغلق أداة الترقية وأعد تشغيلها إذا تكرر الخطأ.</translation>
    </message>
    <message>
        <source>FTP timeout.

Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation>انتهت مهلة FTP.

افصل التيار الكهربائي عن مودم IP الفضائي ثم أعد توصيله.
اقرأ إصدار البرنامج من قائمة «أدوات» قبل إعادة المحاولة.
أغلق أداة الترقية وأعد تشغيلها إذا تكرر الخطأ.</translation>
    </message>
    <message>
        <source>FTP timeout.

Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.
</source>
        <translation>انتهت مهلة FTP.

افصل التيار الكهربائي عن مودم IP الفضائي ثم أعد توصيله.
اقرأ إصدار البرنامج من قائمة «أدوات» قبل إعادة المحاولة.
أغلق أداة الترقية وأعد تشغيلها إذا تكرر الخطأ.
</translation>
    </message>
    <message>
        <source>FTP timeout.
Can not connect to the Satellite IP Modem.

Please check the cable connection.
Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation>انتهت مهلة FTP.
تعذّر الاتصال بمودم IP الفضائي.

يُرجى التحقق من توصيل الكابل.
افصل التيار الكهربائي عن مودم IP الفضائي ثم أعد توصيله.
اقرأ إصدار البرنامج من قائمة «أدوات» قبل إعادة المحاولة.
أغلق أداة الترقية وأعد تشغيلها إذا تكرر الخطأ.</translation>
    </message>
    <message>
        <source>Unable to reset Satellite IP Modem.

Remove power and reapply power to the Satellite IP Modem.</source>
        <translation>تعذّرت إعادة تشغيل مودم IP الفضائي.

افصل التيار الكهربائي عن مودم IP الفضائي ثم أعد توصيله.</translation>
    </message>
    <message>
        <source>An unexpected FTP error occurred. Operation cancelled.

Error Code:  %1 : %2</source>
        <translation>حدث خطأ FTP غير متوقع. أُلغيت العملية.

رمز الخطأ: %1 : %2</translation>
    </message>
    <message>
        <source>An unexpected FTP error occurred.
Operation cancelled.

Error Code:  %1 : %2</source>
        <translation>حدث خطأ FTP غير متوقع.
أُلغيت العملية.

رمز الخطأ: %1 : %2</translation>
    </message>
    <message>
        <source>Incorrect Username or Password!</source>
        <translation>اسم المستخدم أو كلمة المرور غير صحيحة!</translation>
    </message>
    <message>
        <source>Can not connect to Satellite IP Modem. Please check cable connection and retry.</source>
        <translation>تعذّر الاتصال بمودم IP الفضائي. يُرجى التحقق من توصيل الكابل وإعادة المحاولة.</translation>
    </message>
    <message>
        <source>Upgrade failed.  Click OK and close the upgrader.  Check connection before retrying upgrade.  Upgrader FTP state = %1</source>
        <translation>فشلت الترقية. انقر على «موافق» وأغلق أداة الترقية. تحقق من الاتصال قبل إعادة محاولة الترقية. حالة FTP في أداة الترقية = %1</translation>
    </message>
    <message>
        <source>FTP connection was suddenly closed.

Remove power and reapply power to the Satellite IP Modem, then repeat last operation.</source>
        <translation>أُغلق اتصال FTP فجأة.

افصل التيار الكهربائي عن مودم IP الفضائي ثم أعد توصيله، ثم كرر العملية الأخيرة.</translation>
    </message>
    <message>
        <source>Upgrade failed. Click OK and close the upgrader.  Check connection before retrying upgrade.</source>
        <translation>فشلت الترقية. انقر على «موافق» وأغلق أداة الترقية. تحقق من الاتصال قبل إعادة محاولة الترقية.</translation>
    </message>
    <message>
        <source>Upgrade failed.  Click OK and close the upgrader.  Turn the Satellite IP Modem off and on again before retrying upgrade.</source>
        <translation>فشلت الترقية. انقر على «موافق» وأغلق أداة الترقية. أوقف تشغيل مودم IP الفضائي ثم شغّله مجددًا قبل إعادة محاولة الترقية.</translation>
    </message>
    <message>
        <source>Syslog file downloading failed.  Click OK and close the upgrader.  Check connection before retrying.</source>
        <translation>فشل تنزيل ملف سجل النظام (Syslog). انقر على «موافق» وأغلق أداة الترقية. تحقق من الاتصال قبل إعادة المحاولة.</translation>
    </message>
    <message>
        <source>Reading the modem&apos;s image failed.</source>
        <translation>فشلت قراءة صورة برنامج المودم.</translation>
    </message>
    <message>
        <source>Can not send command to upgrade the PIC. 
Please check cable connections, remove and reapply power to the modem.
Repeat upgrade process.</source>
        <translation>تعذّر إرسال أمر ترقية PIC.
يُرجى التحقق من توصيلات الكابلات، وفصل التيار الكهربائي عن المودم ثم إعادة توصيله.
كرر عملية الترقية.</translation>
    </message>
    <message>
        <source>Telnet did not respond.
Please terminate any active Telnet connections.</source>
        <translation>لم يستجب Telnet.
يُرجى إنهاء أي اتصالات Telnet نشطة.</translation>
    </message>
    <message>
        <source>Upgrade Completed.
Click OK and wait until we get software version.</source>
        <translation>اكتملت الترقية.
انقر على «موافق» وانتظر حتى تتم قراءة إصدار البرنامج.</translation>
    </message>
    <message>
        <source>PIC Upgrade failed.  Click OK and try again.  If it fail again, call support.</source>
        <translation>فشلت ترقية PIC. انقر على «موافق» وأعد المحاولة. إذا فشلت مرة أخرى، فاتصل بالدعم الفني.</translation>
    </message>
    <message>
        <source>The AT command could not be sent.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>تعذّر إرسال أمر AT.
يُرجى التحقق من توصيلات الكابلات.
افصل التيار الكهربائي عن المودم ثم أعد توصيله.
استخدم قائمة «أدوات» للتحقق من عناوين DNS.</translation>
    </message>
    <message>
        <source>The modem did not answer the AT command.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>لم يستجب المودم لأمر AT.
يُرجى التحقق من توصيلات الكابلات.
افصل التيار الكهربائي عن المودم ثم أعد توصيله.
استخدم قائمة «أدوات» للتحقق من عناوين DNS.</translation>
    </message>
    <message>
        <source>The modem closed the AT connection without answering.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>أغلق المودم اتصال AT دون أن يستجيب.
يُرجى التحقق من توصيلات الكابلات.
افصل التيار الكهربائي عن المودم ثم أعد توصيله.
استخدم قائمة «أدوات» للتحقق من عناوين DNS.</translation>
    </message>
    <message>
        <source>The modem&apos;s answer to the AT command could not be read.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>تعذّرت قراءة رد المودم على أمر AT.
يُرجى التحقق من توصيلات الكابلات.
افصل التيار الكهربائي عن المودم ثم أعد توصيله.
استخدم قائمة «أدوات» للتحقق من عناوين DNS.</translation>
    </message>
    <message>
        <source>Can&apos;t verify DNS address.

Check if SIM card is inserted correctly.
Reset Modem and repeat command.
</source>
        <translation>تعذّر التحقق من عنوان DNS.

تحقق من تركيب بطاقة SIM بشكل صحيح.
أعد تشغيل المودم ثم كرر الأمر.
</translation>
    </message>
    <message>
        <source>Wrong DNS adress.
</source>
        <translation>عنوان DNS غير صحيح.
</translation>
    </message>
    <message>
        <source>Wrong DNS2 adress.
</source>
        <translation>عنوان DNS2 غير صحيح.
</translation>
    </message>
    <message>
        <source>Data arrival from AT in wrong state %1</source>
        <translation>وصلت بيانات من منفذ AT في حالة غير صحيحة %1</translation>
    </message>
    <message>
        <source>Release Series conflict detected. Upgrade not possible.</source>
        <translation>تم اكتشاف تعارض في سلسلة الإصدار. لا يمكن إجراء الترقية.</translation>
    </message>
    <message>
        <source>We can&apos;t load this version because checksum file doesn&apos;t exist.</source>
        <translation>لا يمكن تحميل هذا الإصدار لأن ملف المجموع الاختباري (checksum) غير موجود.</translation>
    </message>
    <message>
        <source>No old versions are available.</source>
        <translation>لا تتوفر إصدارات قديمة.</translation>
    </message>
    <message>
        <source>We can&apos;t restore this version because checksum file doesn&apos;t exist.</source>
        <translation>لا يمكن استعادة هذا الإصدار لأن ملف المجموع الاختباري (checksum) غير موجود.</translation>
    </message>
    <message>
        <source>Unable to find pic.hex in home directory %1.
Please copy PIC file in %1</source>
        <translation>تعذّر العثور على pic.hex في المجلد الرئيسي %1.
يُرجى نسخ ملف PIC إلى %1</translation>
    </message>
    <message>
        <source>The image %1 is empty: it would leave the modem without software. Nothing was sent to the modem.</source>
        <translation>صورة البرنامج %1 فارغة: ستترك المودم بلا برنامج. لم يُرسَل أي شيء إلى المودم.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read: %2.
Nothing was sent to the modem.</source>
        <translation>تعذّرت قراءة الملف %1: %2.
لم يُرسَل أي شيء إلى المودم.</translation>
    </message>
    <message>
        <source>The modem&apos;s file %1 came back empty, so its software could not be backed up.
The upgrade stopped before anything was sent to the modem.</source>
        <translation>وصل ملف المودم %1 فارغًا، لذا تعذّر النسخ الاحتياطي لبرنامجه.
توقفت الترقية قبل إرسال أي شيء إلى المودم.</translation>
    </message>
    <message>
        <source>The backup of the modem&apos;s software could not be stored:
%1
The upgrade stopped before anything was sent to the modem.</source>
        <translation>تعذّر حفظ النسخة الاحتياطية من برنامج المودم:
%1
توقفت الترقية قبل إرسال أي شيء إلى المودم.</translation>
    </message>
    <message>
        <source>The backup folder was not free within 60 seconds: %1.
The upgrade stopped before anything was sent to the modem.</source>
        <translation>لم يتحرر مجلد النسخ الاحتياطي خلال 60 ثانية: %1.
توقفت الترقية قبل إرسال أي شيء إلى المودم.</translation>
    </message>
    <message>
        <source>CreatePipe failed. Error: %1</source>
        <translation>فشل CreatePipe. الخطأ: %1</translation>
    </message>
    <message>
        <source>Command not found</source>
        <translation>الأمر غير موجود</translation>
    </message>
    <message>
        <source>The command did not finish within a minute and was ended:
%1

The PC address was not changed.</source>
        <translation>لم يكتمل الأمر خلال دقيقة فأُنهي:
%1

لم يتغير عنوان الكمبيوتر.</translation>
    </message>
    <message>
        <source>Please change your local IP address manually to 192.168.128.101</source>
        <translation>يُرجى تغيير عنوان IP المحلي يدويًا إلى 192.168.128.101</translation>
    </message>
    <message>
        <source>Wrong local IP address</source>
        <translation>عنوان IP المحلي غير صحيح</translation>
    </message>
    <message>
        <source>No data moved between the PC and the modem for 65 seconds.</source>
        <translation>لم تنتقل أي بيانات بين الكمبيوتر والمودم لمدة 65 ثانية.</translation>
    </message>
    <message>
        <source>The new software could not be written whole to the Satellite IP Modem at %1.
Its previous software %2 was put back and read back intact; the modem runs it as before.

Check the connection, then repeat the operation.</source>
        <translation>تعذّرت كتابة البرنامج الجديد كاملًا على مودم IP الفضائي في العنوان %1.
أُعيد برنامجه السابق %2 وقُرئ مجددًا سليمًا؛ ويعمل المودم به كما كان.

تحقق من الاتصال، ثم كرر العملية.</translation>
    </message>
    <message>
        <source>The software image on the Satellite IP Modem at %1 is incomplete: the transfer broke, and neither the new nor the previous software could be written whole.

Do not switch the modem off.
Repeat the operation as soon as the modem answers.</source>
        <translation>صورة البرنامج على مودم IP الفضائي في العنوان %1 غير مكتملة: انقطع النقل، وتعذّرت كتابة البرنامج الجديد والبرنامج السابق كاملَين.

لا تُطفئ المودم.
كرر العملية بمجرد أن يستجيب المودم.</translation>
    </message>
    <message>
        <source>The PIC file did not reach the modem intact (%1 read back differs from pic.hex). The PIC was not reflashed.
Repeat the PIC upgrade.</source>
        <translation>لم يصل ملف PIC إلى المودم سليمًا (الملف %1 المقروء من المودم يختلف عن pic.hex). لم تتم إعادة برمجة PIC.
كرر ترقية PIC.</translation>
    </message>
    <message>
        <source>An upload to the Satellite IP Modem at %1 began at %2 and never ended: the modem&apos;s software image may be incomplete.

Do not switch the modem off.
Click Upgrade to send the image again, or Restore to put an older version back.</source>
        <translation>بدأت عملية رفع إلى مودم IP الفضائي في العنوان %1 عند %2 ولم تنتهِ: قد تكون صورة برنامج المودم غير مكتملة.

لا تُطفئ المودم.
انقر على «ترقية» لإرسال الصورة مجددًا، أو «استعادة» لإعادة إصدار أقدم.</translation>
    </message>
    <message>
        <source>The Satellite IP Modem at %1 was not restarted: its software image is incomplete (an upload that began at %2 never ended), and it would not start again.

Upgrade it again, or restore an older version, before restarting it.</source>
        <translation>لم تتم إعادة تشغيل مودم IP الفضائي في العنوان %1: صورة برنامجه غير مكتملة (عملية رفع بدأت عند %2 لم تنتهِ)، ولن يعمل مجددًا.

قم بترقيته مرة أخرى، أو استعد إصدارًا أقدم، قبل إعادة تشغيله.</translation>
    </message>
    <message>
        <source>Another process of this tool is working on the Satellite IP Modem at %1: %2.
Wait until it has finished, then try again.</source>
        <translation>تعمل عملية أخرى من هذه الأداة على مودم IP الفضائي في العنوان %1: %2.
انتظر حتى تنتهي، ثم أعد المحاولة.</translation>
    </message>
    <message>
        <source>The new software is not installed: %1
Nothing was sent to the modem.</source>
        <translation>لم يُثبَّت البرنامج الجديد: %1
لم يُرسَل أي شيء إلى المودم.</translation>
    </message>
    <message>
        <source>The backup is not restored: %1
Nothing was sent to the modem.</source>
        <translation>لم تُستعَد النسخة الاحتياطية: %1
لم يُرسَل أي شيء إلى المودم.</translation>
    </message>
    <message>
        <source>The modem reports version %1 after the upgrade, not %2.</source>
        <translation>يُبلغ المودم عن الإصدار %1 بعد الترقية، وليس %2.</translation>
    </message>
    <message>
        <source>The modem reports version %1 after the restore, not %2.</source>
        <translation>يُبلغ المودم عن الإصدار %1 بعد الاستعادة، وليس %2.</translation>
    </message>
    <message>
        <source>Can not connect to modem using existing PC address %1

Upgrader will set static IP address 192.168.128.101 for yor computer.

                 Do you want to proceed?</source>
        <translation>تعذّر الاتصال بالمودم باستخدام عنوان الكمبيوتر الحالي %1

ستعيّن أداة الترقية عنوان IP ثابتًا 192.168.128.101 لجهاز الكمبيوتر.

                 هل تريد المتابعة؟</translation>
    </message>
    <message>
        <source>The Satellite IP Modem at %1 did not answer as expected, and its software image is incomplete: an upload that began at %2 never ended.

Do not switch the modem off: it would not start again.
Check the cable connection. As soon as the modem answers, click Upgrade to send the image again, or Restore to put an older version back.</source>
        <translation>لم يستجب مودم IP الفضائي في العنوان %1 كما هو متوقع، وصورة برنامجه غير مكتملة: عملية رفع بدأت عند %2 لم تنتهِ.

لا تُطفئ المودم: لن يعمل مجددًا.
تحقّق من توصيل الكابل. بمجرد أن يستجيب المودم، انقر على «ترقية» لإرسال الصورة مجددًا، أو «استعادة» لإعادة إصدار أقدم.</translation>
    </message>
    <message>
        <source>%1: %2 of %3 MiB</source>
        <translation>%1: %2 من %3 MiB</translation>
    </message>
    <message>
        <source>%1: %2 MiB</source>
        <translation>%1: %2 MiB</translation>
    </message>
    <message>
        <source>%1, no data for %2 s</source>
        <translation>%1، لا بيانات منذ %2 ث</translation>
    </message>
    <message>
        <source>%1, %2 MiB/s</source>
        <translation>%1، %2 MiB/s</translation>
    </message>
    <message>
        <source>%1, %2 s left</source>
        <translation>%1، المتبقي %2 ث</translation>
    </message>
    <message>
        <source>Modem restarting: its version is read again in %1 s.</source>
        <translation>يُعاد تشغيل المودم: سيُقرأ إصداره مجددًا خلال %1 ث.</translation>
    </message>
    <message>
        <source>PIC reflash running for %1 s.</source>
        <translation>إعادة برمجة PIC جارية منذ %1 ث.</translation>
    </message>
    <message>
        <source>%1 record waits for the records database, which cannot be reached (%2): they go when it answers.</source>
        <translation>%1 سجل بانتظار قاعدة بيانات السجلات التي يتعذّر الوصول إليها (%2): سيُرسَل عندما تستجيب.</translation>
    </message>
    <message>
        <source>%1 records wait for the records database, which cannot be reached (%2): they go when it answers.</source>
        <translation>عدد السجلات بانتظار قاعدة بيانات السجلات التي يتعذّر الوصول إليها (%2): %1، وستُرسَل عندما تستجيب.</translation>
    </message>
    <message>
        <source>The records database answers again: the waiting records are in.</source>
        <translation>عادت قاعدة بيانات السجلات للاستجابة: أُرسلت السجلات المنتظرة.</translation>
    </message>
    <message>
        <source>Cannot remove %1: %2</source>
        <translation>تعذّر حذف %1: %2</translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation>تعذّرت كتابة %1</translation>
    </message>
    <message>
        <source>there is no folder for settings (HOME is not set)</source>
        <translation>لا يوجد مجلد للإعدادات (المتغير HOME غير مضبوط)</translation>
    </message>
    <message>
        <source>its name holds a line break</source>
        <translation>يحتوي اسمه على فاصل أسطر</translation>
    </message>
    <message>
        <source>it is not an absolute path</source>
        <translation>ليس مسارًا مطلقًا</translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <translation>تعذّر إنشاء المجلد %1: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>تعذّرت كتابة %1: %2</translation>
    </message>
    <message>
        <source>Satellite IP Modem</source>
        <translation>مودم IP الفضائي</translation>
    </message>
    <message>
        <source>You already have the latest version of software.</source>
        <translation>لديك بالفعل أحدث إصدار من البرنامج.</translation>
    </message>
    <message>
        <source>If the Satellite IP Modem is not already connected to your PC, disconnect the dial-up or LAN connection and connect the Satellite IP Modem to your PC.</source>
        <translation>إذا لم يكن مودم IP الفضائي متصلًا بجهاز الكمبيوتر بعد، فافصل اتصال الطلب الهاتفي أو اتصال الشبكة المحلية (LAN) ثم وصّل مودم IP الفضائي بجهاز الكمبيوتر.</translation>
    </message>
    <message>
        <source>&amp;Complete upgrade now</source>
        <translation>إ&amp;كمال الترقية الآن</translation>
    </message>
    <message>
        <source>Complete &amp;upgrade later</source>
        <translation>إكمال الترقية لا&amp;حقًا</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>موافق</translation>
    </message>
    <message>
        <source>Unable to find upgrade program home directory %1.
Please install the upgrade program in this Computer.</source>
        <translation>تعذّر العثور على المجلد الرئيسي لبرنامج الترقية %1.
يُرجى تثبيت برنامج الترقية على هذا الكمبيوتر.</translation>
    </message>
    <message>
        <source>Unable to find the binary file %1kova_*.bin. 
Or there is more than one binary file in the application&apos;s home directory.
Please make sure there is and there is only one binary file in that directory.</source>
        <translation>تعذّر العثور على الملف الثنائي %1kova_*.bin.
أو يوجد أكثر من ملف ثنائي في المجلد الرئيسي للتطبيق.
يُرجى التأكد من وجود ملف ثنائي واحد فقط في ذلك المجلد.</translation>
    </message>
    <message>
        <source>%1 cannot be used: a double quote or a control character in the name of the binary file or of its folder would break every transfer.
Please rename it.</source>
        <translation>لا يمكن استخدام %1: وجود علامة اقتباس مزدوجة أو حرف تحكم في اسم الملف الثنائي أو اسم مجلده يُفشل كل عمليات النقل.
يُرجى إعادة تسميته.</translation>
    </message>
    <message>
        <source>Unable to create the backup directory %1.
The modem&apos;s software cannot be backed up before an upgrade.</source>
        <translation>تعذّر إنشاء مجلد النسخ الاحتياطي %1.
لا يمكن النسخ الاحتياطي لبرنامج المودم قبل الترقية.</translation>
    </message>
    <message>
        <source>%1
Please replace or remove it.</source>
        <translation>%1
يُرجى استبداله أو إزالته.</translation>
    </message>
    <message>
        <source>The new software %1 is refused: %2
Nothing will be sent to the modem.</source>
        <translation>رُفض البرنامج الجديد %1: %2
لن يُرسَل أي شيء إلى المودم.</translation>
    </message>
    <message>
        <source>Choose the firmware folder (the one with kova_*.bin)</source>
        <translation>اختر مجلد البرنامج الثابت (المجلد الذي يحتوي على kova_*.bin)</translation>
    </message>
    <message>
        <source>The firmware folder %1 could not be remembered for the next start: %2.</source>
        <translation>تعذّر حفظ مجلد البرنامج الثابت %1 للتشغيل التالي: %2.</translation>
    </message>
    <message>
        <source>There is no kova_*.bin in %1.
Please choose the folder that holds the new software image.</source>
        <translation>لا يوجد kova_*.bin في %1.
يُرجى اختيار المجلد الذي يحتوي على صورة البرنامج الجديد.</translation>
    </message>
    <message>
        <source>AT Error %1</source>
        <translation>خطأ AT %1</translation>
    </message>
    <message>
        <source>AT Connecting .....</source>
        <translation>جارٍ الاتصال عبر AT .....</translation>
    </message>
    <message>
        <source>Resetting modem. Wait 20 seconds.</source>
        <translation>جارٍ إعادة تشغيل المودم. انتظر 20 ثانية.</translation>
    </message>
    <message>
        <source>Connection failed.</source>
        <translation>فشل الاتصال.</translation>
    </message>
    <message>
        <source>Sending AT command.</source>
        <translation>جارٍ إرسال أمر AT.</translation>
    </message>
    <message>
        <source>Configure Modem Interface</source>
        <translation>تهيئة واجهة المودم</translation>
    </message>
    <message>
        <source>Enter IP address of the KOVA Terminal</source>
        <translation>أدخل عنوان IP لطرفية KOVA</translation>
    </message>
    <message>
        <source>Terminal &amp;IP:</source>
        <translation>&amp;عنوان IP للطرفية:</translation>
    </message>
    <message>
        <source>.</source>
        <translation>.</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>إ&amp;غلاق</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation>&amp;تحديث</translation>
    </message>
    <message>
        <source>system error %1</source>
        <translation>خطأ النظام %1</translation>
    </message>
    <message>
        <source>Cannot store %1: %2</source>
        <translation>تعذّر حفظ %1: %2</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>تعذّر فتح %1: %2</translation>
    </message>
    <message>
        <source>Cannot sync %1: %2</source>
        <translation>تعذّرت مزامنة %1 مع القرص: %2</translation>
    </message>
    <message>
        <source>Cannot lock %1: %2</source>
        <translation>تعذّر قفل %1: %2</translation>
    </message>
    <message>
        <source>it is too long for a minisign public key</source>
        <translation>طوله أكبر من أن يكون مفتاحًا عامًا لـ minisign</translation>
    </message>
    <message>
        <source>it is not a minisign public key (a comment line and one line of base64)</source>
        <translation>ليس مفتاحًا عامًا لـ minisign (سطر تعليق وسطر واحد بترميز base64)</translation>
    </message>
    <message>
        <source>its key line is not the base64 of a minisign public key</source>
        <translation>سطر المفتاح فيه ليس مفتاحًا عامًا لـ minisign بترميز base64</translation>
    </message>
    <message>
        <source>it is not an Ed25519 key</source>
        <translation>ليس مفتاح Ed25519</translation>
    </message>
    <message>
        <source>it is too long for a minisign signature</source>
        <translation>طوله أكبر من أن يكون توقيع minisign</translation>
    </message>
    <message>
        <source>it is not a minisign signature (four lines: a comment, the signature, &quot;trusted comment: &quot; and the comment&apos;s signature)</source>
        <translation>ليس توقيع minisign (أربعة أسطر: تعليق، والتوقيع، و&quot;trusted comment: &quot; وتوقيع التعليق)</translation>
    </message>
    <message>
        <source>its signature line is not the base64 of a minisign signature</source>
        <translation>سطر التوقيع فيه ليس توقيع minisign بترميز base64</translation>
    </message>
    <message>
        <source>its signature is neither of minisign&apos;s Ed25519 forms</source>
        <translation>توقيعه ليس بأيٍّ من صيغتَي Ed25519 في minisign</translation>
    </message>
    <message>
        <source>its trusted comment&apos;s signature is not the base64 of a signature</source>
        <translation>توقيع التعليق الموثوق فيه ليس توقيعًا بترميز base64</translation>
    </message>
    <message>
        <source>its trusted comment holds a control character</source>
        <translation>يحتوي التعليق الموثوق فيه على حرف تحكم</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>ليس ملفًا عاديًا</translation>
    </message>
    <message>
        <source>KOVA Upgrader</source>
        <translation>أداة ترقية KOVA</translation>
    </message>
    <message>
        <source>Satellite IP Modem Upgrader</source>
        <translation>أداة ترقية مودم IP الفضائي</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>غير معروف</translation>
    </message>
    <message>
        <source>Can not Connect to AT interface. 
Please check cable connections.
Remove and reapply power to the modem.
Repeat upgrade process.</source>
        <translation>تعذّر الاتصال بواجهة AT.
يُرجى التحقق من توصيلات الكابلات.
افصل التيار الكهربائي عن المودم ثم أعد توصيله.
كرر عملية الترقية.</translation>
    </message>
    <message>
        <source>A DNS address may not contain a double quote, a line break, another control character or a character the modem&apos;s single-byte text cannot hold.</source>
        <translation>لا يجوز أن يحتوي عنوان DNS على علامة اقتباس مزدوجة أو فاصل أسطر أو أي حرف تحكم آخر أو حرف لا يمكن تمثيله في ترميز المودم أحادي البايت.</translation>
    </message>
    <message>
        <source>The trusted key %1 cannot be used: %2.</source>
        <translation>لا يمكن استخدام المفتاح الموثوق %1: %2.</translation>
    </message>
    <message>
        <source>The list of revoked keys %1 cannot be read: %2.</source>
        <translation>تعذّرت قراءة قائمة المفاتيح الملغاة %1: %2.</translation>
    </message>
    <message>
        <source>The list of revoked keys %1 cannot be used: line %2 is not a key ID (hex digits, as minisign prints it).</source>
        <translation>لا يمكن استخدام قائمة المفاتيح الملغاة %1: السطر %2 ليس معرّف مفتاح (أرقام ست عشرية hex كما يطبعها minisign).</translation>
    </message>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>حجمه أكبر من %1 بايت</translation>
    </message>
    <message>
        <source>The trusted-key folder %1 cannot be read: %2.</source>
        <translation>تعذّرت قراءة مجلد المفاتيح الموثوقة %1: %2.</translation>
    </message>
    <message>
        <source>Cannot use the history file %1: %2</source>
        <translation>تعذّر استخدام ملف سجل الترقيات %1: %2</translation>
    </message>
    <message>
        <source>Cannot open the history file %1: %2</source>
        <translation>تعذّر فتح ملف سجل الترقيات %1: %2</translation>
    </message>
    <message>
        <source>Cannot write the history file %1: %2</source>
        <translation>تعذّرت كتابة ملف سجل الترقيات %1: %2</translation>
    </message>
    <message>
        <source>Cannot write the history file %1: only %2 of %3 bytes were written</source>
        <translation>تعذّرت كتابة ملف سجل الترقيات %1: لم يُكتب سوى %2 من %3 بايت</translation>
    </message>
    <message>
        <source>Cannot save the history file to disk %1: %2</source>
        <translation>تعذّر حفظ ملف سجل الترقيات %1 على القرص: %2</translation>
    </message>
    <message>
        <source>Reset done. Wait .....</source>
        <translation>اكتملت إعادة التشغيل. انتظر .....</translation>
    </message>
    <message>
        <source>Trying to retrieve Satellite IP Modem software version...</source>
        <translation>جارٍ محاولة قراءة إصدار برنامج مودم IP الفضائي...</translation>
    </message>
    <message>
        <source>Check Satellite IP Modem software version.</source>
        <translation>تحقق من إصدار برنامج مودم IP الفضائي.</translation>
    </message>
    <message>
        <source>Software version was retrieved!</source>
        <translation>تمت قراءة إصدار البرنامج!</translation>
    </message>
    <message>
        <source>ZING Connection failed.</source>
        <translation>فشل اتصال ZING.</translation>
    </message>
    <message>
        <source>Connection succeed.</source>
        <translation>نجح الاتصال.</translation>
    </message>
    <message>
        <source>the backup %1 was not taken by this tool: the history holds no record of it, and with a trusted key only recorded backups are restored.</source>
        <translation>لم تُنشئ هذه الأداة النسخة الاحتياطية %1: لا يحتوي سجل الترقيات على أي قيد لها، وعند وجود مفتاح موثوق لا تُستعاد إلا النسخ الاحتياطية المسجَّلة فيه.</translation>
    </message>
    <message>
        <source>the SHA-256 of %1 is %2; when it was kept on %3 it was %4.</source>
        <translation>قيمة SHA-256 للملف %1 هي %2؛ وكانت %4 عند حفظه في %3.</translation>
    </message>
    <message>
        <source>Successfully upgraded! Wait...</source>
        <translation>تمت الترقية بنجاح! انتظر...</translation>
    </message>
    <message>
        <source>Upgrading Satellite IP Modem with version %1 ...</source>
        <translation>جارٍ ترقية مودم IP الفضائي إلى الإصدار %1 ...</translation>
    </message>
    <message>
        <source>Uploading PIC software! Wait...</source>
        <translation>جارٍ رفع برنامج PIC! انتظر...</translation>
    </message>
    <message>
        <source>PIC successfully uploaded! Wait...</source>
        <translation>تم رفع برنامج PIC بنجاح! انتظر...</translation>
    </message>
    <message>
        <source>Deleting config file</source>
        <translation>جارٍ حذف ملف التهيئة</translation>
    </message>
    <message>
        <source>Successfully restored! Wait...</source>
        <translation>تمت الاستعادة بنجاح! انتظر...</translation>
    </message>
    <message>
        <source>Previous software put back. Wait...</source>
        <translation>أُعيد البرنامج السابق. انتظر...</translation>
    </message>
    <message>
        <source>Putting back Satellite IP Modem software version %1 ...</source>
        <translation>جارٍ إعادة الإصدار %1 من البرنامج إلى مودم IP الفضائي ...</translation>
    </message>
    <message>
        <source>Log file doesn&apos;t exist.</source>
        <translation>ملف السجل غير موجود.</translation>
    </message>
    <message>
        <source>Log downloaded</source>
        <translation>تم تنزيل السجل</translation>
    </message>
    <message>
        <source>%1 lies beside the image but is not named in the manifest.</source>
        <translation>يوجد الملف %1 بجانب صورة البرنامج لكنه غير مذكور في ملف البيان.</translation>
    </message>
    <message>
        <source>The manifest names %1 where %2 was expected.</source>
        <translation>يذكر ملف البيان %1 بينما كان المتوقع %2.</translation>
    </message>
    <message>
        <source>The manifest names %1, which is missing.</source>
        <translation>يذكر ملف البيان %1، وهو غير موجود.</translation>
    </message>
    <message>
        <source>%1 has %2 bytes; the manifest says %3.</source>
        <translation>حجم الملف %1 هو %2 بايت؛ بينما يذكر ملف البيان %3.</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>تعذّرت قراءة %1.</translation>
    </message>
    <message>
        <source>The SHA-256 of %1 is %2; the manifest says %3.</source>
        <translation>قيمة SHA-256 للملف %1 هي %2؛ بينما يذكر ملف البيان %3.</translation>
    </message>
    <message>
        <source>The release has no usable manifest %1 (%2): with a trusted key, only a signed release is installed.</source>
        <translation>لا يحتوي الإصدار على ملف بيان صالح للاستخدام %1 (%2): عند وجود مفتاح موثوق، لا يُثبَّت إلا إصدار موقَّع.</translation>
    </message>
    <message>
        <source>The manifest&apos;s signature %1 cannot be read (%2): with a trusted key, only a signed release is installed.</source>
        <translation>تعذّرت قراءة توقيع ملف البيان %1 (%2): عند وجود مفتاح موثوق، لا يُثبَّت إلا إصدار موقَّع.</translation>
    </message>
    <message>
        <source>The signature %1 is damaged: %2.</source>
        <translation>التوقيع %1 تالف: %2.</translation>
    </message>
    <message>
        <source>The release is signed with the key %1, which is not trusted.</source>
        <translation>الإصدار موقَّع بالمفتاح %1، وهو مفتاح غير موثوق.</translation>
    </message>
    <message>
        <source>The release is signed with the key %1, which is revoked.</source>
        <translation>الإصدار موقَّع بالمفتاح %1، وهو مفتاح ملغى.</translation>
    </message>
    <message>
        <source>The signature %1 does not match %2: the manifest or its signature was changed.</source>
        <translation>التوقيع %1 لا يطابق %2: تم تغيير ملف البيان أو توقيعه.</translation>
    </message>
    <message>
        <source>The trusted comment of %1 does not match its signature: it was changed.</source>
        <translation>التعليق الموثوق في %1 لا يطابق توقيعه: تم تغييره.</translation>
    </message>
    <message>
        <source>The manifest %1 cannot be used: %2.</source>
        <translation>لا يمكن استخدام ملف البيان %1: %2.</translation>
    </message>
    <message>
        <source>The manifest is for version %1, the image is %2.</source>
        <translation>ملف البيان خاص بالإصدار %1، بينما صورة البرنامج للإصدار %2.</translation>
    </message>
    <message>
        <source>signed by %1</source>
        <translation>موقَّع من %1</translation>
    </message>
    <message>
        <source>not signed</source>
        <translation>غير موقَّع</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>مرفوض</translation>
    </message>
    <message>
        <source>%1 holds &quot;%2&quot;, which this tool does not know</source>
        <translation>يحتوي %1 على &quot;%2&quot;، وهو مفتاح لا تعرفه هذه الأداة</translation>
    </message>
    <message>
        <source>%1 has no &quot;%2&quot;</source>
        <translation>لا يحتوي %1 على &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;%2&quot; is not a text</source>
        <translation>قيمة &quot;%2&quot; في %1 ليست نصًا</translation>
    </message>
    <message>
        <source>%1 is not an object</source>
        <translation>قيمة %1 ليست كائن JSON</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;sha256&quot; is not 64 lower-case hex digits</source>
        <translation>قيمة &quot;sha256&quot; في %1 ليست 64 رقمًا ست عشريًا (hex) بأحرف صغيرة</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;name&quot; is not a file name</source>
        <translation>قيمة &quot;name&quot; في %1 ليست اسم ملف</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;size&quot; is not a number of bytes</source>
        <translation>قيمة &quot;size&quot; في %1 ليست عددًا من البايتات</translation>
    </message>
    <message>
        <source>it is not a JSON object</source>
        <translation>محتواه ليس كائن JSON</translation>
    </message>
    <message>
        <source>the manifest</source>
        <translation>ملف البيان</translation>
    </message>
    <message>
        <source>its &quot;version&quot; is not a version</source>
        <translation>قيمة &quot;version&quot; فيه ليست رقم إصدار</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;%2&quot; is not a version</source>
        <translation>قيمة &quot;%2&quot; في %1 ليست رقم إصدار</translation>
    </message>
    <message>
        <source>series %1, version %2 or later</source>
        <translation>السلسلة %1، الإصدار %2 أو أحدث</translation>
    </message>
    <message>
        <source>series %1</source>
        <translation>السلسلة %1</translation>
    </message>
    <message>
        <source>version %1 or later</source>
        <translation>الإصدار %1 أو أحدث</translation>
    </message>
    <message>
        <source>Version %1 may only be installed over %2; the modem&apos;s running version is not known.</source>
        <translation>لا يمكن تثبيت الإصدار %1 إلا فوق %2؛ والإصدار الذي يعمل به المودم غير معروف.</translation>
    </message>
    <message>
        <source>Version %1 may only be installed over %2; the modem runs %3.</source>
        <translation>لا يمكن تثبيت الإصدار %1 إلا فوق %2؛ والمودم يعمل بالإصدار %3.</translation>
    </message>
    <message>
        <source>Restore Satellite IP Modem Software</source>
        <translation>استعادة برنامج مودم IP الفضائي</translation>
    </message>
    <message>
        <source>Select an old software version to restore:</source>
        <translation>اختر إصدارًا قديمًا من البرنامج لاستعادته:</translation>
    </message>
    <message>
        <source>The modem&apos;s configuration will be reset to defaults.</source>
        <translation>ستُعاد تهيئة المودم إلى الإعدادات الافتراضية.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>إلغاء</translation>
    </message>
    <message>
        <source>Changing local address to 192.168.128.101. Wait ...</source>
        <translation>جارٍ تغيير العنوان المحلي إلى 192.168.128.101. انتظر ...</translation>
    </message>
    <message>
        <source>No Local Area network connection found. The PC address was not changed.</source>
        <translation>لم يُعثر على اتصال بالشبكة المحلية. لم يتغير عنوان الكمبيوتر.</translation>
    </message>
    <message>
        <source>The PC address was not changed.</source>
        <translation>لم يتغير عنوان الكمبيوتر.</translation>
    </message>
    <message>
        <source>Restoring DHCP for Local Area Connection. Wait....</source>
        <translation>جارٍ استعادة DHCP لاتصال الشبكة المحلية. انتظر....</translation>
    </message>
    <message>
        <source>Can&apos;t Get local IP</source>
        <translation>تعذّر الحصول على عنوان IP المحلي</translation>
    </message>
    <message>
        <source>Can&apos;t Get new local IP</source>
        <translation>تعذّر الحصول على عنوان IP المحلي الجديد</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>فشل</translation>
    </message>
    <message>
        <source>Downloading Log</source>
        <translation>جارٍ تنزيل السجل</translation>
    </message>
    <message>
        <source>Log not downloaded: %1 is from an earlier download.</source>
        <translation>لم يُنزَّل السجل: الملف %1 من تنزيل سابق.</translation>
    </message>
    <message>
        <source>Waiting for the modem to come back...</source>
        <translation>بانتظار عودة المودم...</translation>
    </message>
    <message>
        <source>Resetting Satellite IP Modem...</source>
        <translation>جارٍ إعادة تشغيل مودم IP الفضائي...</translation>
    </message>
    <message>
        <source>Restore stopped: no software version within 30 seconds.</source>
        <translation>توقفت الاستعادة: لم يُقرأ إصدار البرنامج خلال 30 ثانية.</translation>
    </message>
    <message>
        <source>Preparing for Software Restore with version %1 ...</source>
        <translation>جارٍ التحضير لاستعادة البرنامج بالإصدار %1 ...</translation>
    </message>
    <message>
        <source>Restoring Satellite IP Modem with version %1 ...</source>
        <translation>جارٍ استعادة الإصدار %1 على مودم IP الفضائي ...</translation>
    </message>
    <message>
        <source>No answer to the prepare command; going on without it.</source>
        <translation>لا رد على أمر التحضير؛ تتم المتابعة دونه.</translation>
    </message>
    <message>
        <source>Verifying the software stored on the Satellite IP Modem...</source>
        <translation>جارٍ التحقق من البرنامج المخزَّن على مودم IP الفضائي...</translation>
    </message>
    <message>
        <source>The transfer did not arrive whole; sending it again (attempt %1 of %2)...</source>
        <translation>لم يصل النقل كاملًا؛ جارٍ إرساله مجددًا (المحاولة %1 من %2)...</translation>
    </message>
    <message>
        <source>The new software could not be written whole; putting back version %1...</source>
        <translation>تعذّرت كتابة البرنامج الجديد كاملًا؛ جارٍ إعادة الإصدار %1...</translation>
    </message>
    <message>
        <source>Upgrade stopped: no software version within 30 seconds.</source>
        <translation>توقفت الترقية: لم يُقرأ إصدار البرنامج خلال 30 ثانية.</translation>
    </message>
    <message>
        <source>Cannot create a file in %1: %2</source>
        <translation>تعذّر إنشاء ملف في %1: %2</translation>
    </message>
    <message>
        <source>Preparing for Upgrade with version %1 ...</source>
        <translation>جارٍ التحضير للترقية إلى الإصدار %1 ...</translation>
    </message>
    <message>
        <source>Upgrade refused: the release did not pass its checks.</source>
        <translation>رُفضت الترقية: لم يجتز الإصدار عمليات التحقق.</translation>
    </message>
    <message>
        <source>Downloading Satellite IP Modem software to PC...</source>
        <translation>جارٍ تنزيل برنامج مودم IP الفضائي إلى الكمبيوتر...</translation>
    </message>
    <message>
        <source>another process holds it</source>
        <translation>تحتجزه عملية أخرى</translation>
    </message>
    <message>
        <source>Waiting for the backup folder: %1</source>
        <translation>بانتظار مجلد النسخ الاحتياطي: %1</translation>
    </message>
    <message>
        <source>Reading the modem&apos;s image...</source>
        <translation>جارٍ قراءة صورة برنامج المودم...</translation>
    </message>
    <message>
        <source>The modem&apos;s file %1 is larger than %2 MiB, the space left on the disk: it was not downloaded.</source>
        <translation>ملف المودم %1 أكبر من %2 MiB، وهي المساحة المتبقية على القرص: لم يُنزَّل.</translation>
    </message>
    <message>
        <source>The modem&apos;s file %1 is larger than %2 MiB, more than a modem image or log can be: it was not downloaded.</source>
        <translation>ملف المودم %1 أكبر من %2 MiB، وهو أكبر مما يمكن أن تكون عليه صورة برنامج المودم أو سجله: لم يُنزَّل.</translation>
    </message>
    <message>
        <source>Cannot write local file %1: %2</source>
        <translation>تعذّرت كتابة الملف المحلي %1: %2</translation>
    </message>
    <message>
        <source>Cannot open local file %1: %2</source>
        <translation>تعذّر فتح الملف المحلي %1: %2</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>ليس ملفًا عاديًا</translation>
    </message>
    <message>
        <source>Cannot create local file %1: %2</source>
        <translation>تعذّر إنشاء الملف المحلي %1: %2</translation>
    </message>
    <message>
        <source>not a file name</source>
        <translation>ليس اسم ملف</translation>
    </message>
    <message>
        <source>Cannot store local file %1: %2</source>
        <translation>تعذّر حفظ الملف المحلي %1: %2</translation>
    </message>
    <message>
        <source>The operation timed out: %1</source>
        <translation>انتهت مهلة العملية: %1</translation>
    </message>
    <message>
        <source>Cannot read local file %1: %2</source>
        <translation>تعذّرت قراءة الملف المحلي %1: %2</translation>
    </message>
    <message>
        <source>red</source>
        <translation>أحمر</translation>
    </message>
    <message>
        <source>green</source>
        <translation>أخضر</translation>
    </message>
    <message>
        <source>FTP Timeout. Checking connection.....</source>
        <translation>انتهت مهلة FTP. جارٍ التحقق من الاتصال.....</translation>
    </message>
    <message>
        <source>Timer expired. Checking connection....</source>
        <translation>انتهى المؤقت. جارٍ التحقق من الاتصال....</translation>
    </message>
    <message>
        <source>Connecting .....</source>
        <translation>جارٍ الاتصال .....</translation>
    </message>
    <message>
        <source>Sending PIC reflash command.</source>
        <translation>جارٍ إرسال أمر إعادة برمجة PIC.</translation>
    </message>
    <message>
        <source>Command failed.</source>
        <translation>فشل الأمر.</translation>
    </message>
    <message>
        <source>PIC reflashing.... Wait up to 1 minute.   DO NOT INTERRUPT</source>
        <translation>جارٍ إعادة برمجة PIC.... انتظر مدة تصل إلى دقيقة واحدة.   لا تقاطع العملية</translation>
    </message>
    <message>
        <source>PIC reflash completed. Wait for restart...</source>
        <translation>اكتملت إعادة برمجة PIC. انتظر إعادة التشغيل...</translation>
    </message>
    <message>
        <source>Telnet Error %1</source>
        <translation>خطأ Telnet %1</translation>
    </message>
    <message>
        <source>Telnet connection closed by the modem.</source>
        <translation>أغلق المودم اتصال Telnet.</translation>
    </message>
    <message>
        <source>No telnet prompt from the modem within %1 seconds.</source>
        <translation>لم يظهر موجِّه Telnet من المودم خلال %1 ثانية.</translation>
    </message>
    <message>
        <source>No answer to the prepare command within %1 seconds.</source>
        <translation>لا رد على أمر التحضير خلال %1 ثانية.</translation>
    </message>
</context>
</TS>
